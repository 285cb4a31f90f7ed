#pragma once

#include <QList>
#include <QString>

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
// platform's ("Open") when empty.
QString OpenFileName(QWidget* parent, const QString& start = {}, const QString& caption = {});
// Save-file dialog that confirms overwriting an existing file, starting as StartAt(start)
// says; empty when cancelled.
QString SaveFileName(QWidget* parent, const QString& start);

// --- test seam ---
struct Shown {
    QString kind;    // "error", "message", "confirm", "open", "save"
    QString caption; // a file dialog's title when it has one of its own
    QString text;    // a file dialog's start as given
    Start start;     // a file dialog's: where it starts
};
void SetTestMode(bool on);
bool TestMode();
// Answers for the next Confirm calls, in order; without one a confirmation answers Cancel,
// so a test that forgets an answer never discards anything.
void SetNextAnswer(Answer answer);
// Answers for the next file dialogs, in order; an empty name cancels, as does none queued.
void SetNextFileName(const QString& fileName);
// What was shown since the last call, oldest first; clears the record and the queues.
QList<Shown> TakeShown();

} // namespace Dialogs
