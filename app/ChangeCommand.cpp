#include "ChangeCommand.h"

#include "ChangeHistory.h"

namespace {
constexpr int WheelCommandId = 1;
}

ChangeCommand::ChangeCommand(ChangeHistory& history, std::unique_ptr<ChangeStep> step,
                             const QString& text, std::function<void(const ChangeStep&)> refresh,
                             int wheelRecord)
    : m_history(history), m_step(std::move(step)), m_refresh(std::move(refresh)),
      m_wheelRecord(wheelRecord)
{
    setText(text);
    m_sinceLastRoll.start();
}

ChangeCommand::~ChangeCommand() = default;

void ChangeCommand::undo()
{
    m_history.Undo(*m_step);
    if (m_refresh)
        m_refresh(*m_step);
}

void ChangeCommand::redo()
{
    if (!m_pushed) {
        m_pushed = true;
        return;
    }
    m_history.Redo(*m_step);
    if (m_refresh)
        m_refresh(*m_step);
}

int ChangeCommand::id() const
{
    return m_wheelRecord >= 0 ? WheelCommandId : -1;
}

bool ChangeCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const ChangeCommand*>(other);
    if (next->m_wheelRecord != m_wheelRecord || m_sinceLastRoll.elapsed() >= WheelPause ||
        !m_step->Absorb(*next->m_step))
        return false;
    m_sinceLastRoll.restart();
    // A roll turned back to where it began leaves nothing to undo.
    setObsolete(m_step->Empty());
    return true;
}
