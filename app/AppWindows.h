#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <memory>

class IniFile;
class PopupEditorHost;
class QDialog;
class TForm0103;
class TForm0204;
class TForm05;
class TForm07;
class TForm080E;
class TForm0C;
class TForm0D;
class TForm1;

// The program's settings file (SettingsPath) and windows. Each window is created
// once for the whole run, in the order start-up gives: the main window (which opens the
// command-line file before the others exist), the popup editors and the help window. The
// main window owns the others.
class AppWindows
{
public:
    // arguments: the file arguments of the command line. The settings file's place is decided
    // from executablePath (SettingsPath). Needs a QApplication.
    explicit AppWindows(const QStringList& arguments,
                        const QString& executablePath = QCoreApplication::applicationFilePath());
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    // Shows the main window and runs the event loop until it closes. With the environment
    // variable PARVANE_SCREENSHOT set to a file name, the window is grabbed to that PNG once
    // shown and the program ends.
    int run();

    TForm1* main() const { return m_main.get(); }

private:
    std::unique_ptr<IniFile> m_settings; // outlives the main window, which uses it
    std::unique_ptr<TForm1> m_main;
    TForm0103* m_form0103 = nullptr;
    TForm05* m_form05 = nullptr;
    TForm0204* m_form0204 = nullptr;
    TForm07* m_form07 = nullptr;
    TForm080E* m_form080E = nullptr;
    QDialog* m_help = nullptr;
    TForm0D* m_form0D = nullptr;
    TForm0C* m_form0C = nullptr;
    std::unique_ptr<PopupEditorHost> m_host;
};
