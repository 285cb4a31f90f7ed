#pragma once

#include <QElapsedTimer>
#include <QUndoCommand>
#include <functional>
#include <memory>

class ChangeHistory;
class ChangeStep;

// One entry of the main window's undo stack: a step of the document's history. The change
// has already happened when the command is pushed; undo and redo let the history put the
// step's states back, then refresh shows them (labels, colours, the marker and Save): it is
// given the step, whose records are the ones that changed.
class ChangeCommand : public QUndoCommand
{
public:
    // wheelRecord: the record a wheel roll changed, or -1. Rolls on the same record less than
    // WheelPause apart fold into one command.
    ChangeCommand(ChangeHistory& history, std::unique_ptr<ChangeStep> step, const QString& text,
                  std::function<void(const ChangeStep&)> refresh, int wheelRecord = -1);
    ~ChangeCommand() override;

    static constexpr int WheelPause = 1000; // ms

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    ChangeHistory& m_history;
    std::unique_ptr<ChangeStep> m_step;
    std::function<void(const ChangeStep&)> m_refresh;
    int m_wheelRecord;
    QElapsedTimer m_sinceLastRoll;
    bool m_pushed = false; // push() calls redo() once on a change that is already made
};
