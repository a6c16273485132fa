#include "Mainunit/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <array>
#include <cstdio>

namespace mivrel {
namespace {

// Options that QGuiApplication, QApplication and the xcb platform take out of
// argv themselves, the first group with a value.
constexpr std::array QtValueOptions{"platform", "platformpluginpath", "platformtheme", "plugin",
                                    "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                    "style", "stylesheet", "display", "geometry", "title",
                                    "icon", "name", "visual"};
constexpr std::array QtFlagOptions{"reverse", "widgetcount", "nograb", "dograb"};

void AddQtOptions(QCommandLineParser &parser)
{
    for (const char *name : QtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : QtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The parser's own text starts with a usage line naming the executable, which
// it learns only from an application object; this one names the program.
QString HelpText(const QCommandLineParser &parser)
{
    return QStringLiteral("Usage: mivrel [options]\n")
        + parser.helpText().section(QLatin1Char('\n'), 1)
        + QStringLiteral("\nQt's own options work as well, for example -platform wayland, "
                         "-style Fusion\nor -display :1; see mivrel(1).\n");
}

CommandLineAnswer Refusal(const QString &message)
{
    return {1, {},
            QStringLiteral("mivrel: %1\nTry 'mivrel --help' for more information.\n").arg(message)};
}

} // namespace

CommandLineAnswer ReadCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform, -style).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Checks the withholding tax slip of Heisei 8 (1996): verifies the tax, inspects\n"
        "the deductions and estimates the tax for other figures.\n"
        "平成８年分の給与所得の源泉徴収票を検算・検査・試算します。"));
    // Not addHelpOption(): its --help-all lists Qt's options from the
    // application object, which does not exist yet.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and exits."));
    parser.addOption(help);
    parser.addOption(version);
    AddQtOptions(parser);

    if (!parser.parse(arguments))
        return Refusal(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return Refusal(QStringLiteral("Unexpected argument '%1'.")
                           .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help))
        return {0, HelpText(parser), {}};
    if (parser.isSet(version))
        return {0,
                QStringLiteral("Mivrel " MIVREL_VERSION "\n"
                               "Copyright (c) the Mivrel developers, MIT License.\n"),
                {}};
    return {};
}

std::optional<int> AnswerCommandLine(int argc, const char *const argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLineAnswer answer = ReadCommandLine(arguments);
    std::fputs(answer.output.toLocal8Bit().constData(), stdout);
    std::fputs(answer.error.toLocal8Bit().constData(), stderr);
    return answer.exitStatus;
}

} // namespace mivrel
