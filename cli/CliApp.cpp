#include "CliApp.h"

#include "BcfgError.h"
#include "CliOutput.h"
#include "CodePage.h"
#include "Commands.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <algorithm>

using namespace Cli;

namespace {

constexpr auto Program = "parvane-cli [--codepage NAME] ";

// The usage, one line for each command of the table.
QByteArray usageText()
{
    constexpr qsizetype SummaryColumn = 45;
    QByteArray text = QByteArray("Usage: ") + Program +
                      "COMMAND ...\n"
                      "       parvane-cli --help | COMMAND --help | --version\nCommands:\n";
    for (const Command& command : Commands()) {
        const QByteArray line = QByteArray("  ") + command.name + ' ' + command.usage;
        text += line;
        if (line.size() < SummaryColumn)
            text += QByteArray(SummaryColumn - line.size(), ' ');
        else
            text += '\n' + QByteArray(SummaryColumn, ' ');
        text += QByteArray(command.summary) + '\n';
    }
    return text;
}

// One command's usage, from the same table.
QByteArray usageText(const Command& command)
{
    QByteArray text = QByteArray("Usage: ") + Program + command.name + ' ' + command.usage + '\n';
    return text + "  " + command.summary + '\n';
}

int usage(QByteArray& err, const QString& problem = {})
{
    if (!problem.isEmpty())
        err += problem.toUtf8() + '\n';
    err += usageText();
    return Failed;
}

// What was asked for is the usage itself: it goes to stdout and the status is 0.
int answer(CliOutput& out, const QByteArray& text)
{
    out += text;
    return Ok;
}

bool asksForHelp(const QString& argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

// Reads rest as command's rule says; the problem to print when they break it.
QString readArguments(const Command& command, const QStringList& rest, Arguments& args)
{
    const ArgumentRule& rule = command.arguments;
    const QString takes =
        QStringLiteral("%1 takes %2").arg(QLatin1String(command.name), QLatin1String(rule.takes));
    switch (rule.form) {
    case ArgumentRule::AsGiven:
        args.files = rest;
        break;
    case ArgumentRule::WithOptions: {
        QCommandLineParser parser;
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const Option& option : rule.options)
            parser.addOption(QCommandLineOption(QLatin1String(option.name), QString(),
                                                QLatin1String(option.valueName)));
        if (!parser.parse(QStringList{QLatin1String(command.name)} + rest))
            return parser.errorText();
        args.files = parser.positionalArguments();
        for (const Option& option : rule.options)
            if (parser.isSet(QLatin1String(option.name)))
                args.options.insert(QLatin1String(option.name),
                                    parser.value(QLatin1String(option.name)));
        break;
    }
    case ArgumentRule::Pairs: {
        args.files = rest.mid(0, rule.files);
        for (qsizetype i = rule.files; i < rest.size(); i += 2) {
            const auto option =
                std::find_if(rule.options.begin(), rule.options.end(), [&](const Option& o) {
                    return rest[i] == QLatin1Char('-') + QLatin1String(o.name) &&
                           !args.options.contains(QLatin1String(o.name));
                });
            if (i + 1 >= rest.size())
                return QStringLiteral("%1 takes PATH VALUE pairs").arg(QLatin1String(command.name));
            if (option != rule.options.end())
                args.options.insert(QLatin1String(option->name), rest[i + 1]);
            else
                args.pairs.append({rest[i], rest[i + 1]});
        }
        const bool emptyValue = std::any_of(args.options.cbegin(), args.options.cend(),
                                            [](const QString& value) { return value.isEmpty(); });
        if (args.pairs.isEmpty() || emptyValue)
            return takes;
        break;
    }
    }
    return args.files.size() == rule.files ? QString() : takes;
}

int run(const QStringList& args, CliOutput& out, QByteArray& err)
{
    if (args.isEmpty())
        return usage(err);
    if (asksForHelp(args.first()) || args.first() == QLatin1String("help"))
        return answer(out, usageText());
    if (args.first() == QLatin1String("--version"))
        return answer(out, QByteArray("parvane-cli ") + PARVANE_VERSION + '\n');
    const auto& commands = Commands();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const Command& c) {
        return args.first() == QLatin1String(c.name);
    });
    if (command == commands.end())
        return usage(err, QStringLiteral("unknown command: %1").arg(args.first()));
    if (args.size() > 1 && asksForHelp(args[1]))
        return answer(out, usageText(*command));
    Arguments arguments;
    const QString problem = readArguments(*command, args.mid(1), arguments);
    if (!problem.isEmpty())
        return usage(err, problem);
    Context context(out, err);
    return command->run(arguments, context);
}

// "--codepage NAME" or "--codepage=NAME" may come before the command.
int runWithCodePage(const QStringList& args, CliOutput& out, QByteArray& err)
{
    QString name;
    qsizetype taken = 0;
    if (!args.isEmpty() && args.first() == QLatin1String("--codepage")) {
        if (args.size() < 2)
            return usage(err, QStringLiteral("--codepage needs a name"));
        name = args[1];
        taken = 2;
    } else if (!args.isEmpty() && args.first().startsWith(QLatin1String("--codepage="))) {
        name = args.first().mid(11);
        taken = 1;
    }
    if (taken > 0 && !CodePage::SetName(name)) {
        err += "Unknown code page: " + name.toUtf8() + '\n';
        return Failed;
    }
    return run(args.mid(taken), out, err);
}

} // namespace

void SetCliEndsProcess()
{
    SetEndsProcess();
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
