#include "Dialogs.h"

#include "AppGlobals.h"
#include "BcfgError.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QQueue>

namespace {

struct Seam {
    bool testMode = false;
    QQueue<Dialogs::Answer> answers;
    QQueue<QString> fileNames;
    QList<Dialogs::Shown> shown;
};

Seam& seam()
{
    static Seam value;
    return value;
}

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

// Notices a question being dismissed without a choice: Esc, or a close request (its close
// box, Alt+F4) that comes before any button was clicked.
class DismissWatcher : public QObject
{
public:
    bool dismissed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = static_cast<QMessageBox*>(watched);
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
            dismissed = true;
            box->reject();
            return true;
        }
        if (event->type() == QEvent::Close && !box->clickedButton())
            dismissed = true;
        return false;
    }
};

QString runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& start,
                      const QString& caption = {})
{
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(mode);
    // Open dialogs too accept a name that does not exist; the caller reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(Dialogs::BcfgFilter());
    // "*.bcfg" also lists files named "*.BCFG".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    // Windows' own dialog takes the folder only from the directory and the selection only as a
    // name: a full path given as the selection alone opens in the working folder.
    const Dialogs::Start at = Dialogs::StartAt(start);
    if (!at.folder.isEmpty()) {
        dialog.setDirectory(at.folder);
        dialog.selectFile(at.name);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

QString answerFileDialog(const QString& kind, const QString& start, const QString& caption = {})
{
    Seam& s = seam();
    s.shown.append({kind, caption, start, Dialogs::StartAt(start)});
    return s.fileNames.isEmpty() ? QString() : s.fileNames.dequeue();
}

} // namespace

namespace Dialogs {

QString BcfgFilter()
{
    return QStringLiteral("Binary config files (*.bcfg)");
}

void Error(QWidget* parent, const QString& text)
{
    const QString shownText = BcfgError::withFullStop(text);
    if (seam().testMode) {
        seam().shown.append({QStringLiteral("error"), ApplicationTitle(), shownText, {}});
        return;
    }
    showBox(parent, QMessageBox::Critical, shownText);
}

void Message(QWidget* parent, const QString& text)
{
    if (seam().testMode) {
        seam().shown.append({QStringLiteral("message"), ApplicationTitle(), text, {}});
        return;
    }
    showBox(parent, QMessageBox::Critical, text);
}

Answer Confirm(QWidget* parent, const QString& caption, const QString& text)
{
    Seam& s = seam();
    if (s.testMode) {
        s.shown.append({QStringLiteral("confirm"), caption, text, {}});
        return s.answers.isEmpty() ? Answer::Cancel : s.answers.dequeue();
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    // A message box takes Esc and its close box for No; only a click on No may mean No.
    DismissWatcher watcher;
    box.installEventFilter(&watcher);
    box.exec();
    if (watcher.dismissed)
        return Answer::Cancel;
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return Answer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return Answer::No;
    return Answer::Cancel;
}

Start StartAt(const QString& start)
{
    if (start.isEmpty())
        return {};
    const QFileInfo info(start);
    return {QDir::toNativeSeparators(info.absolutePath()), info.fileName()};
}

QString OpenFileName(QWidget* parent, const QString& start, const QString& caption)
{
    if (seam().testMode)
        return answerFileDialog(QStringLiteral("open"), start, caption);
    return runFileDialog(parent, QFileDialog::AcceptOpen, start, caption);
}

QString SaveFileName(QWidget* parent, const QString& start)
{
    if (seam().testMode)
        return answerFileDialog(QStringLiteral("save"), start);
    return runFileDialog(parent, QFileDialog::AcceptSave, start);
}

void SetTestMode(bool on)
{
    seam().testMode = on;
}

bool TestMode()
{
    return seam().testMode;
}

void SetNextAnswer(Answer answer)
{
    seam().answers.enqueue(answer);
}

void SetNextFileName(const QString& fileName)
{
    seam().fileNames.enqueue(fileName);
}

QList<Shown> TakeShown()
{
    Seam& s = seam();
    QList<Shown> result;
    result.swap(s.shown);
    s.answers.clear();
    s.fileNames.clear();
    return result;
}

} // namespace Dialogs
