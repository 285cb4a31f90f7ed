#include "AppWindows.h"

#include "AppGlobals.h"
#include "IniFile.h"
#include "PopupEditorHost.h"
#include "SettingsLocation.h"
#include "TForm0103.h"
#include "TForm0204.h"
#include "TForm05.h"
#include "TForm07.h"
#include "TForm080E.h"
#include "TForm0C.h"
#include "TForm0D.h"
#include "TForm1.h"
#include "TForm2.h"

#include <QApplication>
#include <QTimer>

AppWindows::AppWindows(const QStringList& arguments, const QString& executablePath)
    : m_settings(std::make_unique<IniFile>(SettingsPath(executablePath)))
{
    SetApplicationTitle(DefaultApplicationTitle());
    m_main = std::make_unique<TForm1>();
    IniFile* settings = m_settings.get();
    m_main->SetSettings({[settings](const QString& section, const QString& key, int fallback) {
                             return settings->ReadInteger(section, key, fallback);
                         },
                         [settings](const QString& section, const QString& key, int value) {
                             settings->WriteInteger(section, key, value);
                         }});
    m_main->FormCreate(arguments);

    m_form0103 = new TForm0103(m_main.get());
    m_form05 = new TForm05(m_main.get());
    m_form0204 = new TForm0204(m_main.get());
    m_form07 = new TForm07(m_main.get());
    m_form080E = new TForm080E(m_main.get());
    m_help = new TForm2(m_main.get());
    m_main->SetHelpWindow(m_help);
    m_form0D = new TForm0D(m_main.get());
    m_form0C = new TForm0C(m_main.get());
    m_host = std::make_unique<PopupEditorHost>(m_form0103, m_form05, m_form0204, m_form07,
                                               m_form080E, m_form0D, m_form0C);
    m_main->SetEditorHost(m_host.get());
}

AppWindows::~AppWindows()
{
    // The host refers to the windows the main window owns.
    m_main->SetEditorHost(nullptr);
    m_host.reset();
}

int AppWindows::run()
{
    m_main->show();
    const QString screenshot = qEnvironmentVariable("PARVANE_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        // After the restore timer and the first paint.
        QTimer::singleShot(300, m_main.get(), [this, screenshot] {
            QApplication::exit(m_main->grab().save(screenshot, "PNG") ? 0 : 1);
        });
    }
    return QApplication::exec();
}
