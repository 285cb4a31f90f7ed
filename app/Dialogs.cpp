#include "Dialogs.h"

#include "AppGlobals.h"
#include "BcfgError.h"
#include "Platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

namespace {

struct Seam {
    bool testMode = false;
    QQueue<Dialogs::Answer> answers;
    QQueue<QString> fileNames;
    QQueue<QList<bool>> checks;
    QQueue<int> choices;
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
    Dialogs::FitCaption(box);
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
                      const QString& caption = {}, const QString& filter = {},
                      const QString& suffix = {}, QList<Dialogs::Check>* checks = nullptr)
{
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(mode);
    // Open dialogs too accept a name that does not exist; the caller reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter.isEmpty() ? Dialogs::BcfgFilter() : filter);
    dialog.setDefaultSuffix(suffix);
    // "*.bcfg" also lists files named "*.BCFG".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    // Windows' own dialog takes the folder only from the directory and the selection only as a
    // name: a full path given as the selection alone opens in the working folder.
    const Dialogs::Start at = Dialogs::StartAt(start);
    if (!at.folder.isEmpty()) {
        dialog.setDirectory(at.folder);
        dialog.selectFile(at.name);
    }
    // Check boxes go under the name field of the toolkit's own dialog (a system dialog has no
    // room for them).
    QList<QCheckBox*> boxes;
    if (checks && !checks->isEmpty()) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            for (const Dialogs::Check& check : *checks) {
                auto* box = new QCheckBox(check.text, &dialog);
                box->setChecked(check.checked);
                grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
                boxes.append(box);
            }
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    for (qsizetype i = 0; i < boxes.size(); ++i)
        (*checks)[i].checked = boxes[i]->isChecked();
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
    FitCaption(box);
    box.exec();
    if (watcher.dismissed)
        return Answer::Cancel;
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return Answer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return Answer::No;
    return Answer::Cancel;
}

int Choose(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
           int cancelButton)
{
    Seam& s = seam();
    if (s.testMode) {
        s.shown.append({QStringLiteral("choose"), caption, text, {}});
        const int index = s.choices.isEmpty() ? -1 : s.choices.dequeue();
        return index == cancelButton ? -1 : index;
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> shown;
    for (const QString& each : buttons)
        shown.append(box.addButton(each, shown.size() == cancelButton ? QMessageBox::RejectRole
                                                                      : QMessageBox::AcceptRole));
    if (cancelButton >= 0 && cancelButton < shown.size()) {
        box.setEscapeButton(shown[cancelButton]);
        box.setDefaultButton(static_cast<QPushButton*>(shown[cancelButton]));
    }
    FitCaption(box);
    box.exec();
    const int index = int(shown.indexOf(box.clickedButton()));
    return index == cancelButton ? -1 : index;
}

int CaptionWidth(const QWidget& box)
{
    // The caption's font is the system's; the design font is the program's own. Either may
    // be drawn there, so the wider counts. Beside the text: the window's icon and the close
    // button (about twice as wide as it is high), with the frame's margins.
    const QFontMetrics system(QApplication::font("QMdiSubWindowTitleBar"));
    const QFontMetrics design(box.font());
    const QString caption = box.windowTitle();
    const int text = qMax(system.horizontalAdvance(caption), design.horizontalAdvance(caption));
    const int button = Platform::CaptionButtonHeight(box);
    return text + 16 + 3 * button + 48;
}

void FitCaption(QMessageBox& box)
{
    // A message box sizes itself to its text and buttons; a strut across the bottom of its
    // grid makes it no narrower than the caption.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width =
        CaptionWidth(box) - grid->contentsMargins().left() - grid->contentsMargins().right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

Start StartAt(const QString& start)
{
    if (start.isEmpty())
        return {};
    const QFileInfo info(start);
    return {QDir::toNativeSeparators(info.absolutePath()), info.fileName()};
}

QString OpenFileName(QWidget* parent, const QString& start, const QString& caption,
                     const QString& filter)
{
    if (seam().testMode)
        return answerFileDialog(QStringLiteral("open"), start, caption);
    return runFileDialog(parent, QFileDialog::AcceptOpen, start, caption, filter);
}

QString SaveFileName(QWidget* parent, const QString& start)
{
    if (seam().testMode)
        return answerFileDialog(QStringLiteral("save"), start);
    return runFileDialog(parent, QFileDialog::AcceptSave, start);
}

QString SaveFileName(QWidget* parent, const QString& selected, const QString& caption,
                     const QString& filter, const QString& suffix, QList<Check>& checks)
{
    Seam& s = seam();
    if (s.testMode) {
        if (!s.checks.isEmpty()) {
            const QList<bool> ticks = s.checks.dequeue();
            for (qsizetype i = 0; i < checks.size() && i < ticks.size(); ++i)
                checks[i].checked = ticks[i];
        }
        return answerFileDialog(QStringLiteral("save"), selected, caption);
    }
    return runFileDialog(parent, QFileDialog::AcceptSave, selected, caption, filter, suffix,
                         &checks);
}

void SetNextChecks(const QList<bool>& checked)
{
    seam().checks.enqueue(checked);
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

void SetNextChoice(int index)
{
    seam().choices.enqueue(index);
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
    s.checks.clear();
    s.choices.clear();
    return result;
}

} // namespace Dialogs
