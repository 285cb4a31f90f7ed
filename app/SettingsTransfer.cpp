#include "SettingsTransfer.h"

#include "BcfgError.h"
#include "Dialogs.h"
#include "DocumentSession.h"
#include "Import.h"
#include "RegularFile.h"
#include "Settings.h"
#include "SettingsText.h"
#include "TBCFGFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace {

QString filter()
{
    return SettingsTransfer::tr("Settings as text (*.toml)");
}

QString shownName(const QString& fileName)
{
    return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

// The unknown-block message of the old version's file, which names it.
class NamingReporter : public LoadReporter
{
public:
    NamingReporter(QWidget* parent, const QString& fileName)
        : m_parent(parent), m_fileName(fileName)
    {
    }
    void loadMessage(const QString& text) override
    {
        Dialogs::Message(m_parent, shownName(m_fileName) + QStringLiteral(":\n") + text);
    }

private:
    QWidget* m_parent;
    QString m_fileName;
};

} // namespace

void SettingsTransfer::Export(QWidget* parent, DocumentSession& session)
{
    const TBCFGFile* doc = session.Doc();
    if (!doc || session.Busy())
        return;
    const QFileInfo open(session.FileName());
    QList<Dialogs::Check> checks = {
        {tr("Only what differs from the old version's own file"), false},
        {tr("Include passwords"), false},
    };
    const QString fileName =
        Dialogs::SaveFileName(parent, open.dir().filePath(open.completeBaseName() + ".toml"),
                              tr("Export settings"), filter(), QStringLiteral("toml"), checks);
    if (fileName.isEmpty())
        return;
    SettingsText::Options options;
    options.passwords = checks[1].checked;
    try {
        std::vector<bool> kept;
        if (checks[0].checked) {
            const QString baseName =
                Dialogs::OpenFileName(parent, {}, tr("The old version's own file"));
            if (baseName.isEmpty())
                return;
            NamingReporter reporter(parent, baseName);
            const auto base = TBCFGFile::Load(baseName, nullptr, &reporter);
            kept = Import::KeptAsShipped(*base, *doc, false);
            options.leftOut = &kept;
        }
        const QByteArray text = SettingsText::Write(*doc, options);
        RegularFile::Replace(fileName, [&](QIODevice& file) {
            if (file.write(text) != text.size())
                throw BcfgError(QStringLiteral("Stream write error"));
        });
    } catch (const BcfgError& e) {
        Dialogs::Error(parent, e.text());
    }
}

void SettingsTransfer::Apply(QWidget* parent, DocumentSession& session)
{
    if (!session.Doc() || session.Busy())
        return;
    const QString fileName = Dialogs::OpenFileName(parent, {}, tr("Apply settings"), filter());
    if (fileName.isEmpty())
        return;
    Settings::List settings;
    try {
        settings = SettingsText::Read(RegularFile::ReadAll(fileName));
    } catch (const BcfgError& e) {
        Dialogs::Error(parent, e.text());
        return;
    }
    const QString name = QFileInfo(fileName).fileName();
    if (settings.empty()) {
        Dialogs::Message(parent, BcfgError::withFullStop(Settings::NothingToApply(name)));
        return;
    }
    std::vector<Settings::Setting> skipped;
    const bool applied =
        session.ChangeAll(tr("Apply settings from %1", "the name of the undo step").arg(name), [&] {
            skipped = Settings::Apply(*session.Doc(), settings, Settings::Missing::Skipped);
        });
    if (!applied || skipped.empty())
        return;
    QString lines;
    for (const Settings::Setting& setting : skipped)
        lines += QLatin1Char('\n') + Settings::AtLine(setting.line, setting.path);
    Dialogs::Message(parent, tr("These paths of %1 name no parameter of this file and were "
                                "passed over:")
                                     .arg(name) +
                                 lines);
}
