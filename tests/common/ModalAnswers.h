#pragma once

// Plays the user at modal windows the code under test opens with exec(): answers whatever
// modal window comes up next (ModalPlayer), or each showing of one popup (PopupUser). Both
// close what they leave open, so that a failing test cannot hang.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <vector>

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

// Plays the user at a modal popup: each time the popup is shown, the next step runs from a
// timer inside its modal loop. A popup still open after a step, or shown more often than there
// are steps, is cancelled so that a failing test cannot hang; the test reads what happened.
class PopupUser : public QObject
{
public:
    using Step = std::function<void()>;

    PopupUser(QDialog* popup, std::vector<Step> steps) : m_popup(popup), m_steps(std::move(steps))
    {
        popup->installEventFilter(this);
    }
    ~PopupUser() override { m_popup->removeEventFilter(this); }

    int stepsRun() const { return m_stepsRun; }
    bool leftOpen() const { return m_leftOpen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_popup && event->type() == QEvent::Show)
            QTimer::singleShot(0, this, [this] { runStep(m_showings++); });
        return false;
    }

private:
    void runStep(size_t showing)
    {
        // Also runs when a failed check returns from the step early.
        struct Closer {
            PopupUser* user;
            ~Closer()
            {
                if (user->m_popup->isVisible()) {
                    user->m_leftOpen = true;
                    user->m_popup->reject();
                }
            }
        } closer{this};
        if (showing >= m_steps.size())
            return;
        m_steps[showing]();
        ++m_stepsRun;
    }

    QDialog* m_popup;
    std::vector<Step> m_steps;
    size_t m_showings = 0;
    int m_stepsRun = 0;
    bool m_leftOpen = false;
};
