#include "CliApp.h"

#include "BcfgError.h"
#include "CodePage.h"
#include "Import.h"
#include "PathCommands.h"
#include "RecordJson.h"
#include "TBCFGFile.h"

#include <QCommandLineParser>

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

// Keeps the entries of a load so they can be printed in tree order.
class PrintTree : public TreeSink
{
public:
    Entry append(Entry parent, const QByteArray& label, TBcfgRecAll*) override
    {
        m_nodes.push_back(Node{label, toIndex(parent), {}});
        const size_t index = m_nodes.size() - 1;
        if (parent)
            m_nodes[toIndex(parent)].children.push_back(index);
        else
            m_roots.push_back(index);
        return toEntry(index);
    }
    Entry parentOf(Entry entry) override
    {
        const size_t parent = m_nodes[toIndex(entry)].parent;
        return parent == NoParent ? nullptr : toEntry(parent);
    }
    void expandAll(Entry) override {}

    QByteArray print() const
    {
        QByteArray out;
        // Depth-first without recursion: deep nesting must not exhaust the stack.
        std::vector<std::pair<size_t, int>> stack;
        for (auto it = m_roots.rbegin(); it != m_roots.rend(); ++it)
            stack.emplace_back(*it, 0);
        while (!stack.empty()) {
            const auto [index, depth] = stack.back();
            stack.pop_back();
            const Node& node = m_nodes[index];
            out += QByteArray(2 * depth, ' ') + CodePage::ToUnicode(node.label).toUtf8() + '\n';
            for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
                stack.emplace_back(*it, depth + 1);
        }
        return out;
    }

private:
    static constexpr size_t NoParent = size_t(-1);
    struct Node {
        QByteArray label;
        size_t parent;
        std::vector<size_t> children;
    };
    // Entries are indices plus one, so that no entry is nullptr (the root).
    static Entry toEntry(size_t index) { return reinterpret_cast<Entry>(index + 1); }
    static size_t toIndex(Entry entry)
    {
        return entry ? reinterpret_cast<size_t>(entry) - 1 : NoParent;
    }
    std::vector<Node> m_nodes;
    std::vector<size_t> m_roots;
};

QByteArray records(const TBCFGFile& doc)
{
    QByteArray out;
    for (const auto& rec : doc.Records())
        out += RecordJson(*rec) + '\n';
    return out;
}

int usage(QByteArray& err, const QString& problem = {})
{
    if (!problem.isEmpty())
        err += problem.toUtf8() + '\n';
    err += Usage;
    return Failed;
}

int run(const QStringList& args, QByteArray& out, QByteArray& err)
{
    if (args.isEmpty())
        return usage(err);
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    StderrReporter reporter(err);

    if (command == QLatin1String("tree") || command == QLatin1String("records")) {
        if (rest.size() != 1)
            return usage(err, QStringLiteral("%1 takes one file name").arg(command));
        PrintTree tree;
        const bool isTree = command == QLatin1String("tree");
        const auto doc = TBCFGFile::Load(rest[0], isTree ? &tree : nullptr, &reporter);
        out += isTree ? tree.print() : records(*doc);
        return reporter.partial ? Partial : Ok;
    }
    if (command == QLatin1String("copy")) {
        if (rest.size() != 2)
            return usage(err, QStringLiteral("copy takes two file names"));
        auto doc = TBCFGFile::Load(rest[0], nullptr, &reporter);
        doc->Save(rest[1]);
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
        auto current = TBCFGFile::Load(files[0], nullptr, &reporter);
        const auto source = TBCFGFile::Load(files[1], nullptr, &reporter);
        Import::MergeDocuments(*current, *source, Import::TranslateLevelNames(files[0], files[1]));
        int imported = 0;
        int modified = 0;
        for (const auto& rec : current->Records()) {
            imported += rec->Imported ? 1 : 0;
            modified += rec->Modified ? 1 : 0;
        }
        out += "imported " + QByteArray::number(imported) + ", modified " +
               QByteArray::number(modified) + '\n';
        if (parser.isSet(withRecords))
            out += records(*current);
        if (parser.isSet(output))
            current->Save(parser.value(output));
        return reporter.partial ? Partial : Ok;
    }
    const PathCommands::LoadFile load = [&](const QString& fileName) {
        return TBCFGFile::Load(fileName, nullptr, &reporter);
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
        const bool listed = PathCommands::Diff(files[0], files[1], parser.isSet(json), load, out);
        return reporter.partial ? Partial : listed ? Differs : Ok;
    }
    if (command == QLatin1String("get")) {
        // Taken as they are: a path may begin with "-".
        if (rest.size() != 2)
            return usage(err, QStringLiteral("get takes FILE and PATH"));
        PathCommands::Get(rest[0], rest[1], load, out);
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

int runWithCodePage(const QStringList& arguments, QByteArray& out, QByteArray& err)
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

int RunCli(const QStringList& arguments, QByteArray& out, QByteArray& err)
{
    // Whatever goes wrong ends in a message and status 1, never in an abort.
    try {
        return runWithCodePage(arguments, out, err);
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
