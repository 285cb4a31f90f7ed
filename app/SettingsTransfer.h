#pragma once

#include <QCoreApplication>

class DocumentSession;
class QWidget;

// The window's commands on settings as text (SettingsText): export the open document's
// values to a TOML file, and apply such a file to it as one step. Boxes and file dialogs go
// through Dialogs; parent owns them.
class SettingsTransfer
{
    Q_DECLARE_TR_FUNCTIONS(SettingsTransfer)

public:
    // Asks for a file name, and with it whether to list only what differs from the old version's
    // own file (then asks for that file) and whether to include passwords; writes the text.
    static void Export(QWidget* parent, DocumentSession& session);
    // Asks for a settings file and applies it as one undo step. Nothing changes when a line is
    // refused (the error box names it); paths the document does not have are passed over and
    // listed in one box after the step.
    static void Apply(QWidget* parent, DocumentSession& session);
};
