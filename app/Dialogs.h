#pragma once

#include <QList>
#include <QString>

class QMessageBox;
class QWidget;

// Every message box and file dialog of the main window goes through here, so that a test
// can answer them: in test mode nothing is shown, each box is recorded, and questions and
// file dialogs take the answers queued beforehand.
namespace Dialogs {

// Cancel: the question was dismissed without a choice (Esc, its close box).
enum class Answer { Ok, Yes, No, Cancel };

// "Binary config files (*.bcfg)", matched without regard to case.
QString BcfgFilter();

// An error box: error icon, OK, the application title as caption; a full stop is added
// when the text does not end in one.
void Error(QWidget* parent, const QString& text);
// A message with an OK button and the application title, text shown exactly as given.
void Message(QWidget* parent, const QString& text);
// A confirmation with Yes and No; Esc or closing the box answers Cancel.
Answer Confirm(QWidget* parent, const QString& caption, const QString& text);

// A question with buttons of its own, in order; the index of the one clicked, or -1 when it was
// dismissed (Esc, its close box) or cancelButton was clicked. cancelButton: the index of the
// button that Esc stands for, also the default, so that Enter never does more than it.
int Choose(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
           int cancelButton);

// Makes a box at least as wide as its whole caption needs, with the icon and the close button
// beside it (an error box's caption is the application title).
void FitCaption(QMessageBox& box);
// The narrowest width at which box shows its caption whole.
int CaptionWidth(const QWidget& box);

// Where a file dialog starts: start's folder (in the platform's form), with start's name
// selected. start is the open file's name, as every file dialog of the windows passes it; a
// name without a folder lies in the working folder. Empty for an empty start.
struct Start {
    QString folder;
    QString name;
};
Start StartAt(const QString& start);

// Open-file dialog, starting as StartAt(start) says; the chosen full path, or an empty text
// when cancelled. A name that does not exist may be entered. caption: the dialog's title, the
// platform's ("Open") when empty. filter: the kinds of file offered, BcfgFilter() when empty.
QString OpenFileName(QWidget* parent, const QString& start = {}, const QString& caption = {},
                     const QString& filter = {});
// Save-file dialog that confirms overwriting an existing file, starting as StartAt(start)
// says; empty when cancelled.
QString SaveFileName(QWidget* parent, const QString& start);

// A check box under a file dialog's name field: its text and whether it is ticked (the
// default before the dialog, the user's choice after it).
struct Check {
    QString text;
    bool checked = false;
};
// The same with a caption, the kinds of file offered (filter), the extension a name without
// one gets (suffix) and check boxes.
QString SaveFileName(QWidget* parent, const QString& selected, const QString& caption,
                     const QString& filter, const QString& suffix, QList<Check>& checks);

// --- test seam ---
struct Shown {
    QString kind;    // "error", "message", "confirm", "choose", "open", "save"
    QString caption; // a file dialog's title when it has one of its own
    QString text;    // a file dialog's start as given
    Start start;     // a file dialog's: where it starts
};
void SetTestMode(bool on);
bool TestMode();
// Answers for the next Confirm calls, in order; without one a confirmation answers Cancel,
// so a test that forgets an answer never discards anything.
void SetNextAnswer(Answer answer);
// Answers for the next Choose calls (a button's index, -1 dismisses), in order; without one a
// choice is dismissed.
void SetNextChoice(int index);
// Answers for the next file dialogs, in order; an empty name cancels, as does none queued.
void SetNextFileName(const QString& fileName);
// The ticks of the next file dialog with check boxes, in their order; without, each keeps its
// default.
void SetNextChecks(const QList<bool>& checked);
// What was shown since the last call, oldest first; clears the record and the queues.
QList<Shown> TakeShown();

} // namespace Dialogs
