#pragma once

// Shared by the tests of the program's windows and session: the dialog seam answered by the
// test (Dialogs in test mode records every box), the error text of what was shown, and a
// player that answers real modal windows opened with exec().

#include "AppGlobals.h"
#include "Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <vector>

Q_DECLARE_METATYPE(Dialogs::Answer)

namespace answers {

// Start-up as the program does it, with every box recorded instead of shown.
inline void startUp()
{
    SetApplicationTitle(DefaultApplicationTitle());
    Dialogs::SetTestMode(true);
}

// The texts of the error boxes among shown, joined.
inline QString errorText(const QList<Dialogs::Shown>& shown)
{
    QString text;
    for (const Dialogs::Shown& box : shown)
        if (box.kind == QLatin1String("error"))
            text += box.text;
    return text;
}

// Answers modal windows that the code under test opens with exec(): each time a new modal
// window is active, the next step runs with it. A step must close the window; windows
// beyond the steps are rejected so that a failing test cannot hang.
class ModalPlayer : public QObject
{
public:
    using Step = std::function<void(QWidget*)>;
    explicit ModalPlayer(std::vector<Step> steps) : m_steps(std::move(steps))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }
    int seen() const { return m_seen; }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last)
            return;
        m_last = modal;
        const int index = m_seen++;
        if (size_t(index) < m_steps.size()) {
            m_steps[size_t(index)](modal);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
        // Allows the same window to be answered again when it comes back.
        QTimer::singleShot(0, this, [this] { m_last = nullptr; });
    }

    std::vector<Step> m_steps;
    QTimer m_timer;
    QWidget* m_last = nullptr;
    int m_seen = 0;
};

} // namespace answers
