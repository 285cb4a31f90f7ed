#include "Commands.h"

#include "CliOutput.h"
#include "Import.h"
#include "Printers.h"
#include "SettingsText.h"
#include "TBCFGFile.h"

#include <future>
#include <optional>

namespace Cli {

namespace {

bool endsProcess = false;

int tree(const Arguments& args, Context& context)
{
    TreePrinter printer(context.out);
    context.load(args.files[0], &printer);
    return context.loaded();
}

int records(const Arguments& args, Context& context)
{
    PrintRecords(context.load(args.files[0]), context.out);
    return context.loaded();
}

int import(const Arguments& args, Context& context)
{
    const QStringList& files = args.files;
    // The two files load side by side, each on a core of its own; the source's
    // messages follow the current file's, as when they load one after the other.
    QByteArray sourceErr;
    StderrReporter sourceReporter(sourceErr);
    auto loading = std::async(std::launch::async | std::launch::deferred,
                              [&] { return TBCFGFile::Load(files[1], nullptr, &sourceReporter); });
    TBCFGFile& current = context.load(files[0]); // waits for loading on throw
    TBCFGFile& source = context.keep(loading.get());
    context.err += sourceErr;
    context.reporter.partial = context.reporter.partial || sourceReporter.partial;
    const bool translate = Import::TranslateLevelNames(files[0], files[1]);
    // Upgrading: what the user never changed from the old version's own file stays new.
    std::vector<bool> kept;
    if (args.has("base"))
        kept = Import::KeptAsShipped(context.load(args.value("base")), source, translate);
    // Nothing here shows the labels from before the import.
    const Import::Result result =
        Import::MergeDocuments(current, source, translate, kept, {}, Import::LabelsBefore::NotKept);
    int imported = 0;
    int modified = 0;
    for (const auto& rec : current.Records()) {
        imported += rec->Imported ? 1 : 0;
        modified += rec->Modified ? 1 : 0;
    }
    context.out +=
        "imported " + QByteArray::number(imported) + ", modified " + QByteArray::number(modified);
    if (args.has("base"))
        context.out += ", kept " + QByteArray::number(result.kept);
    context.out += "\n";
    if (args.has("records"))
        PrintRecords(current, context.out);
    if (args.has("o"))
        current.Save(args.value("o"));
    return context.loaded();
}

int copy(const Arguments& args, Context& context)
{
    context.load(args.files[0]).Save(args.files[1]);
    return context.loaded();
}

int diff(const Arguments& args, Context& context)
{
    QByteArray lines;
    const std::optional<QString> base =
        args.has("base") ? std::optional<QString>(args.value("base")) : std::nullopt;
    const bool listed = PathCommands::Diff(args.files[0], args.files[1], args.has("json"),
                                           context.loader(), lines, base);
    context.out += lines;
    return context.reporter.partial ? Partial : listed ? Differs : Ok;
}

int get(const Arguments& args, Context& context)
{
    QByteArray line;
    PathCommands::Get(args.files[0], args.files[1], context.loader(), line);
    context.out += line;
    return context.loaded();
}

int set(const Arguments& args, Context& context)
{
    PathCommands::Set(args.files[0], args.pairs, args.value("o"), context.loader());
    return context.loaded();
}

int dump(const Arguments& args, Context& context)
{
    const TBCFGFile& doc = context.load(args.files[0]);
    SettingsText::Options options;
    options.passwords = args.has("passwords");
    // Only what the user changed: the records BASE shipped as they are now are left out.
    std::vector<bool> kept;
    if (args.has("base")) {
        kept = Import::KeptAsShipped(context.load(args.value("base")), doc, false);
        options.leftOut = &kept;
    }
    SettingsText::Write(doc, options, context.out.block(), [&] { context.out.written(); });
    return context.loaded();
}

int load(const Arguments& args, Context& context)
{
    PathCommands::Load(args.files[0], args.files[1], args.value("o"), args.has("skip-missing"),
                       context.loader(), context.err);
    return context.loaded();
}

} // namespace

const std::vector<Command>& Commands()
{
    const auto asGiven = [](int files, const char* takes) {
        return ArgumentRule{ArgumentRule::AsGiven, files, takes, {}};
    };
    const auto withOptions = [](int files, const char* takes, std::vector<Option> options) {
        return ArgumentRule{ArgumentRule::WithOptions, files, takes, std::move(options)};
    };
    const auto pairs = [](int files, const char* takes, Option option) {
        return ArgumentRule{ArgumentRule::Pairs, files, takes, {option}};
    };
    static const std::vector<Command> commands = {
        {"tree", "FILE", "print the tree of FILE", asGiven(1, "one file name"), tree},
        {"records", "FILE", "print FILE's records as JSON lines", asGiven(1, "one file name"),
         records},
        {"import", "CURRENT SOURCE [--base BASE] [-o OUT] [--records]",
         "take values over from SOURCE",
         withOptions(2, "CURRENT and SOURCE",
                     {{"o", "OUT"}, {"records", nullptr}, {"base", "BASE"}}),
         import},
        {"copy", "IN OUT", "load IN and save it to OUT", asGiven(2, "two file names"), copy},
        {"diff", "CURRENT OTHER [--base BASE] [--json]", "what import would change, refuse, miss",
         withOptions(2, "CURRENT and OTHER", {{"json", nullptr}, {"base", "BASE"}}), diff},
        {"get", "FILE PATH", "print the value at PATH", asGiven(2, "FILE and PATH"), get},
        // A value is never an option, so "-5" is a value.
        {"set", "FILE PATH VALUE [PATH VALUE ...] [-o OUT]", "set values, then save FILE (or OUT)",
         pairs(1, "FILE and PATH VALUE pairs", {"o", "OUT"}), set},
        {"dump", "FILE [--base BASE] [--passwords]", "print FILE's values as TOML settings",
         withOptions(1, "one file name", {{"base", "BASE"}, {"passwords", nullptr}}), dump},
        {"load", "FILE SETTINGS [-o OUT] [--skip-missing]", "set the values of SETTINGS, then save",
         withOptions(2, "FILE and SETTINGS", {{"o", "OUT"}, {"skip-missing", nullptr}}), load},
    };
    return commands;
}

void StderrReporter::loadMessage(const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    m_err += lines.toUtf8() + '\n';
    partial = true;
}

Context::Context(CliOutput& output, QByteArray& errors) : out(output), err(errors), reporter(errors)
{
}

Context::~Context()
{
    // When the process ends next, taking a million records apart one by one
    // would only delay it: the documents stay reachable to the end and the
    // system takes the memory back.
    if (!endsProcess)
        return;
    static auto* kept = new std::vector<std::unique_ptr<TBCFGFile>>;
    for (auto& doc : m_docs)
        kept->push_back(std::move(doc));
}

TBCFGFile& Context::load(const QString& fileName, TreeSink* tree)
{
    return keep(TBCFGFile::Load(fileName, tree, &reporter));
}

TBCFGFile& Context::keep(std::unique_ptr<TBCFGFile> doc)
{
    m_docs.push_back(std::move(doc));
    return *m_docs.back();
}

PathCommands::LoadFile Context::loader()
{
    return [this](const QString& fileName) -> TBCFGFile& { return load(fileName); };
}

void SetEndsProcess()
{
    endsProcess = true;
}

} // namespace Cli
