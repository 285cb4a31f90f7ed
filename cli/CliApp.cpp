#include "CliApp.h"

#include "BcfgError.h"
#include "CliOutput.h"
#include "CodePage.h"
#include "Import.h"
#include "PathCommands.h"
#include "RecordJson.h"
#include "TBCFGFile.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <algorithm>
#include <cstring>
#include <future>

namespace {

const char Usage[] =
    "Usage: parvane-cli [--codepage NAME] COMMAND ...\n"
    "Commands:\n"
    "  tree FILE                                  print the tree of FILE\n"
    "  records FILE                               print FILE's records as JSON lines\n"
    "  import CURRENT SOURCE [-o OUT] [--records] take values over from SOURCE\n"
    "  copy IN OUT                                load IN and save it to OUT\n"
    "  diff CURRENT OTHER [--json]                what import would change, refuse, miss\n"
    "  get FILE PATH                              print the value at PATH\n"
    "  set FILE PATH VALUE [PATH VALUE ...] [-o OUT]\n"
    "                                             set values, then save FILE (or OUT)\n";

enum Status { Ok = 0, Failed = 1, Partial = 2, Differs = 3 };

// Collects messages the editor would show in a box and remembers whether a
// file stopped early.
class StderrReporter : public LoadReporter
{
public:
    explicit StderrReporter(QByteArray& err) : m_err(err) {}
    void loadMessage(const QString& text) override
    {
        QString lines = text;
        lines.replace(QLatin1String("\n\r"), QLatin1String("\n"));
        m_err += lines.toUtf8() + '\n';
        partial = true;
    }
    bool partial = false;

private:
    QByteArray& m_err;
};

// Prints each entry as the load appends it. Entries come in tree order (each
// the last child of an entry on the chain from the top to the entry before
// it), so only that chain is kept, however many entries the tree has.
class PrintTree : public TreeSink
{
public:
    explicit PrintTree(CliOutput& out) : m_out(out) {}

    Entry append(Entry parent, const QByteArray& label, TBcfgRecAll*) override
    {
        const size_t parentIndex = toIndex(parent);
        while (!m_chain.empty() && m_chain.back() != parentIndex)
            m_chain.pop_back();
        const qint64 indent = 2 * qint64(m_chain.size());
        QByteArray& block = m_out.block();
        if (indent <= Spaces) { // one step for the whole line
            const qsizetype at = block.size();
            block.resize(at + indent + 3 * label.size() + 1);
            char* to = block.data() + at;
            std::memset(to, ' ', size_t(indent));
            to = CodePage::WriteUtf8(to + indent, label);
            *to++ = '\n';
            block.resize(to - block.constData());
        } else {
            m_out.appendSpaces(indent);
            CodePage::AppendUtf8(block, label);
            block += '\n';
        }
        m_out.written();
        m_chain.push_back(m_count);
        return toEntry(m_count++);
    }
    // Known for the entries on the chain, which is all a load asks about.
    Entry parentOf(Entry entry) override
    {
        // Entries are numbered in order, so the chain is sorted.
        const auto it = std::lower_bound(m_chain.begin(), m_chain.end(), toIndex(entry));
        return it == m_chain.end() || it == m_chain.begin() || *it != toIndex(entry)
                   ? nullptr
                   : toEntry(*(it - 1));
    }
    void expandAll(Entry) override {}

private:
    static constexpr size_t NoParent = size_t(-1);
    static constexpr qint64 Spaces = 4096; // deeper indents are written in pieces
    // Entries are numbers plus one, so that no entry is nullptr (the root).
    static Entry toEntry(size_t index) { return reinterpret_cast<Entry>(index + 1); }
    static size_t toIndex(Entry entry)
    {
        return entry ? reinterpret_cast<size_t>(entry) - 1 : NoParent;
    }

    CliOutput& m_out;
    std::vector<size_t> m_chain;
    size_t m_count = 0;
};

// Every record as a JSON line. A record's key is its parent's key and its own
// part, so the keys of the open levels are kept as one text and each line adds
// its part: the work is the output's, whatever the depth.
void printRecords(const TBCFGFile& doc, CliOutput& out)
{
    struct Open {
        qint32 index;
        qsizetype keyEnd;
    };
    std::vector<Open> chain;
    QByteArray key;
    QByteArray part;
    for (const auto& rec : doc.Records()) {
        while (!chain.empty() && chain.back().index != rec->ParentIndex)
            chain.pop_back();
        key.truncate(chain.empty() ? 0 : chain.back().keyEnd);
        part.resize(0);
        if (rec->ParentIndex >= 0 && chain.empty()) // not inside the open levels: made whole
            part = Import::PathKey(*rec, false);
        else
            Import::AppendPathKeyPart(part, *rec, false);
        AppendJsonText(key, part);
        AppendRecordJson(out.block(), *rec, key);
        out.block() += '\n';
        out.written();
        if (rec->IsLevelBegin())
            chain.push_back(Open{rec->Index, key.size()});
    }
}

bool endsProcess = false;

// A document whose work is done. When the process ends next, taking a million
// records apart one by one would only delay it: the document stays reachable
// to the end and the system takes the memory back.
void done(std::unique_ptr<TBCFGFile> doc)
{
    if (!endsProcess)
        return;
    static auto* kept = new std::vector<std::unique_ptr<TBCFGFile>>;
    kept->push_back(std::move(doc));
}

int usage(QByteArray& err, const QString& problem = {})
{
    if (!problem.isEmpty())
        err += problem.toUtf8() + '\n';
    err += Usage;
    return Failed;
}

int run(const QStringList& args, CliOutput& out, QByteArray& err)
{
    if (args.isEmpty())
        return usage(err);
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    StderrReporter reporter(err);

    if (command == QLatin1String("tree") || command == QLatin1String("records")) {
        if (rest.size() != 1)
            return usage(err, QStringLiteral("%1 takes one file name").arg(command));
        PrintTree tree(out);
        const bool isTree = command == QLatin1String("tree");
        auto doc = TBCFGFile::Load(rest[0], isTree ? &tree : nullptr, &reporter);
        if (!isTree)
            printRecords(*doc, out);
        done(std::move(doc));
        return reporter.partial ? Partial : Ok;
    }
    if (command == QLatin1String("copy")) {
        if (rest.size() != 2)
            return usage(err, QStringLiteral("copy takes two file names"));
        auto doc = TBCFGFile::Load(rest[0], nullptr, &reporter);
        doc->Save(rest[1]);
        done(std::move(doc));
        return reporter.partial ? Partial : Ok;
    }
    if (command == QLatin1String("import")) {
        QCommandLineParser parser;
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("OUT"));
        const QCommandLineOption withRecords(QStringLiteral("records"));
        parser.addOption(output);
        parser.addOption(withRecords);
        if (!parser.parse(QStringList{QStringLiteral("import")} + rest))
            return usage(err, parser.errorText());
        const QStringList files = parser.positionalArguments();
        if (files.size() != 2)
            return usage(err, QStringLiteral("import takes CURRENT and SOURCE"));
        // The two files load side by side, each on a core of its own; the source's
        // messages follow the current file's, as when they load one after the other.
        QByteArray sourceErr;
        StderrReporter sourceReporter(sourceErr);
        auto loading = std::async(std::launch::async | std::launch::deferred, [&] {
            return TBCFGFile::Load(files[1], nullptr, &sourceReporter);
        });
        auto current = TBCFGFile::Load(files[0], nullptr, &reporter); // waits for loading on throw
        auto source = loading.get();
        err += sourceErr;
        reporter.partial = reporter.partial || sourceReporter.partial;
        // Nothing here shows the labels from before the import.
        Import::MergeDocuments(*current, *source, Import::TranslateLevelNames(files[0], files[1]),
                               {}, Import::LabelsBefore::NotKept);
        int imported = 0;
        int modified = 0;
        for (const auto& rec : current->Records()) {
            imported += rec->Imported ? 1 : 0;
            modified += rec->Modified ? 1 : 0;
        }
        out += "imported " + QByteArray::number(imported) + ", modified " +
               QByteArray::number(modified) + '\n';
        if (parser.isSet(withRecords))
            printRecords(*current, out);
        if (parser.isSet(output))
            current->Save(parser.value(output));
        done(std::move(current));
        done(std::move(source));
        return reporter.partial ? Partial : Ok;
    }
    // Documents of the path commands, handed to done() however the command ends.
    struct Loaded {
        std::vector<std::unique_ptr<TBCFGFile>> docs;
        ~Loaded()
        {
            for (auto& doc : docs)
                done(std::move(doc));
        }
    } loaded;
    const PathCommands::LoadFile load = [&](const QString& fileName) -> TBCFGFile& {
        loaded.docs.push_back(TBCFGFile::Load(fileName, nullptr, &reporter));
        return *loaded.docs.back();
    };
    if (command == QLatin1String("diff")) {
        QCommandLineParser parser;
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        const QCommandLineOption json(QStringLiteral("json"));
        parser.addOption(json);
        if (!parser.parse(QStringList{command} + rest))
            return usage(err, parser.errorText());
        const QStringList files = parser.positionalArguments();
        if (files.size() != 2)
            return usage(err, QStringLiteral("diff takes CURRENT and OTHER"));
        QByteArray lines;
        const bool listed = PathCommands::Diff(files[0], files[1], parser.isSet(json), load, lines);
        out += lines;
        return reporter.partial ? Partial : listed ? Differs : Ok;
    }
    if (command == QLatin1String("get")) {
        // Taken as they are: a path may begin with "-".
        if (rest.size() != 2)
            return usage(err, QStringLiteral("get takes FILE and PATH"));
        QByteArray line;
        PathCommands::Get(rest[0], rest[1], load, line);
        out += line;
        return reporter.partial ? Partial : Ok;
    }
    if (command == QLatin1String("set")) {
        // PATH VALUE pairs, with "-o OUT" where a path would begin; a value is
        // never an option, so "-5" is a value.
        QList<QPair<QString, QString>> pairs;
        QString output;
        bool hasOutput = false;
        for (qsizetype i = 1; i < rest.size(); i += 2) {
            if (rest[i] == QLatin1String("-o") && !hasOutput && i + 1 < rest.size()) {
                hasOutput = true;
                output = rest[i + 1];
            } else if (i + 1 < rest.size()) {
                pairs.append({rest[i], rest[i + 1]});
            } else {
                return usage(err, QStringLiteral("set takes PATH VALUE pairs"));
            }
        }
        if (rest.isEmpty() || pairs.isEmpty() || (hasOutput && output.isEmpty()))
            return usage(err, QStringLiteral("set takes FILE and PATH VALUE pairs"));
        PathCommands::Set(rest[0], pairs, output, load);
        return reporter.partial ? Partial : Ok;
    }
    return usage(err, QStringLiteral("unknown command: %1").arg(command));
}

int runWithCodePage(const QStringList& arguments, CliOutput& out, QByteArray& err)
{
    QStringList args = arguments;
    if (!args.isEmpty() && args.first() == QLatin1String("--codepage")) {
        if (args.size() < 2)
            return usage(err, QStringLiteral("--codepage needs a name"));
        if (!CodePage::SetName(args[1])) {
            err += "Unknown code page: " + args[1].toUtf8() + '\n';
            return Failed;
        }
        args = args.mid(2);
    } else if (!args.isEmpty() && args.first().startsWith(QLatin1String("--codepage="))) {
        const QString name = args.first().mid(11);
        if (!CodePage::SetName(name)) {
            err += "Unknown code page: " + name.toUtf8() + '\n';
            return Failed;
        }
        args = args.mid(1);
    }
    return run(args, out, err);
}

} // namespace

void SetCliEndsProcess()
{
    endsProcess = true;
}

int RunCli(const QStringList& arguments, QByteArray& out, QByteArray& err)
{
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly | QIODevice::Append);
    return RunCli(arguments, buffer, err);
}

int RunCli(const QStringList& arguments, QIODevice& device, QByteArray& err)
{
    // Whatever goes wrong ends in a message and status 1, never in an abort.
    try {
        CliOutput out(device);
        const int status = runWithCodePage(arguments, out, err);
        out.flush();
        return status;
    } catch (const BcfgError& error) {
        err += error.boxText().toUtf8() + '\n';
    } catch (const std::bad_alloc&) {
        err += "Out of memory.\n";
    } catch (const std::exception& error) {
        err += BcfgError::withFullStop(QString::fromLocal8Bit(error.what())).toUtf8() + '\n';
    } catch (...) {
        err += "Unexpected error.\n";
    }
    return Failed;
}
