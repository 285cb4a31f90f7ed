#pragma once

#include "PathCommands.h"
#include "TreeSink.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class CliOutput;
class TBCFGFile;

// The commands of parvane-cli, each a function, listed in one table with its
// usage line and the rule its arguments follow.
namespace Cli {

enum Status { Ok = 0, Failed = 1, Partial = 2, Differs = 3 };

// Collects messages the editor would show in a box and remembers whether a
// file stopped early.
class StderrReporter : public LoadReporter
{
public:
    explicit StderrReporter(QByteArray& err) : m_err(err) {}
    void loadMessage(const QString& text) override;
    bool partial = false;

private:
    QByteArray& m_err;
};

// What a command works with: the output, the messages, and the documents it
// loaded, which it keeps to the end of the command however it ends.
class Context
{
public:
    Context(CliOutput& output, QByteArray& errors);
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    ~Context();

    TBCFGFile& load(const QString& fileName, TreeSink* tree = nullptr);
    TBCFGFile& keep(std::unique_ptr<TBCFGFile> doc);
    // load as the path commands take it.
    PathCommands::LoadFile loader();
    // Ok, or Partial when a file stopped at an unknown block.
    Status loaded() const { return reporter.partial ? Partial : Ok; }

    CliOutput& out;
    QByteArray& err;
    StderrReporter reporter;

private:
    std::vector<std::unique_ptr<TBCFGFile>> m_docs;
};

// A command's arguments once they passed its rule.
struct Arguments {
    QStringList files;                    // the positional arguments
    QList<QPair<QString, QString>> pairs; // PATH VALUE pairs
    QHash<QString, QString> options;      // the options given, with their values
    bool has(const char* option) const { return options.contains(QLatin1String(option)); }
    QString value(const char* option) const { return options.value(QLatin1String(option)); }
};

struct Option {
    const char* name;      // "o" is given as -o, "json" as --json or -json
    const char* valueName; // nullptr for a flag
};

// How a command reads its arguments.
struct ArgumentRule {
    enum Form {
        AsGiven,     // all of them files, taken as they are (a path may begin with "-")
        WithOptions, // options anywhere, the rest files
        Pairs,       // the files, then PATH VALUE pairs, an option where a path would begin
    };
    Form form;
    int files;                   // how many files (positional arguments) it takes
    const char* takes;           // what it takes, said when the arguments break the rule
    std::vector<Option> options; // for WithOptions and Pairs
};

struct Command {
    const char* name;
    const char* usage; // the arguments as the usage lists them
    const char* summary;
    ArgumentRule arguments;
    int (*run)(const Arguments&, Context&);
};

// Every command, in the order the usage lists them.
const std::vector<Command>& Commands();

// Called when the process ends right after the command: documents are then
// left to the system instead of being taken apart.
void SetEndsProcess();

} // namespace Cli
