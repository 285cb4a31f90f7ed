#include "CommandLine.h"

#include "Platform.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QUrl>
#include <cstdlib>

namespace {

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Editor of binary configuration files (.bcfg)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("The file to open: a path or a file:// URL; \".bcfg\" is appended to a "
                       "name without a \".\"."),
        QStringLiteral("[file]"));
}

} // namespace

namespace CommandLine {

void AnswerWithoutWindow(int& argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    describe(parser);
    // The toolkit's own options (-platform, -style ...) are unknown here; they are taken out
    // once the QApplication exists, and the file arguments are read then.
    parser.parse(arguments);
    const bool help = parser.isSet(QStringLiteral("help"));
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (!help && !helpAll && !parser.isSet(QStringLiteral("version")))
        return;
    const QCoreApplication core(argc, argv);
    if (helpAll)
        parser.process(core); // lists the toolkit's options too
    Platform::ShowCommandLineAnswer(help ? parser.helpText()
                                         : QCoreApplication::applicationName() + u' ' +
                                               QCoreApplication::applicationVersion() + u'\n');
    std::exit(0);
}

QStringList FileArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    parser.process(arguments);
    QStringList files = parser.positionalArguments();
    if (!files.isEmpty())
        files.first() = LocalFileName(files.first());
    return files;
}

QString LocalFileName(const QString& argument)
{
    if (!argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return argument;
    const QUrl url(argument);
    return url.isLocalFile() ? url.toLocalFile() : argument;
}

} // namespace CommandLine
