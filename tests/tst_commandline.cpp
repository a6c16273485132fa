// The command line: what --help and --version answer, which mistakes end the
// program with status 1, and that Qt's own options are let through.

#include "Mainunit/CommandLine.h"

#include <QTest>

using namespace mivrel;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
};

void TestCommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitStatus"); // -1: the program starts
    QTest::addColumn<QString>("output"); // a line of standard output, or none at all
    QTest::addColumn<QString>("error");  // a line of standard error, or none at all

    const QString usage = QStringLiteral("Usage: mivrel [options]");
    const QString version = QStringLiteral("Mivrel " MIVREL_VERSION);
    const QString none;
    QTest::newRow("no arguments") << QStringList{} << -1 << none << none;
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << none;
    QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << none;
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version << none;
    QTest::newRow("-v") << QStringList{"-v"} << 0 << version << none;
    QTest::newRow("--help after Qt options")
        << QStringList{"-platform", "offscreen", "-reverse", "--help"} << 0 << usage << none;
    QTest::newRow("Qt options")
        << QStringList{"-platform", "xcb", "-style", "Fusion", "-reverse", "-qwindowgeometry",
                       "700x520+0+0", "-qwindowtitle", "Mivrel"}
        << -1 << none << none;
    QTest::newRow("Qt options, double dash or =")
        << QStringList{"--display", ":1", "-style=Fusion", "--name", "slip", "--widgetcount"}
        << -1 << none << none;
    QTest::newRow("unknown option")
        << QStringList{"--bogus"} << 1 << none << "mivrel: Unknown option 'bogus'.";
    QTest::newRow("unknown single letter")
        << QStringList{"-x"} << 1 << none << "mivrel: Unknown option 'x'.";
    QTest::newRow("unknown beside --help")
        << QStringList{"--help", "--bogus"} << 1 << none << "mivrel: Unknown option 'bogus'.";
    QTest::newRow("an argument")
        << QStringList{"slip.txt"} << 1 << none << "mivrel: Unexpected argument 'slip.txt'.";
    QTest::newRow("Qt option without its value")
        << QStringList{"-style"} << 1 << none << "mivrel: Missing value after '-style'.";
}

void TestCommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitStatus);
    QFETCH(QString, output);
    QFETCH(QString, error);

    const CommandLineAnswer answer =
        ReadCommandLine(QStringList{QStringLiteral("/usr/bin/mivrel")} + arguments);
    QCOMPARE(answer.exitStatus.value_or(-1), exitStatus);
    if (output.isEmpty())
        QCOMPARE(answer.output, QString());
    else
        QVERIFY2(answer.output.split(QLatin1Char('\n')).contains(output), qPrintable(answer.output));
    if (error.isEmpty())
        QCOMPARE(answer.error, QString());
    else
        QVERIFY2(answer.error.split(QLatin1Char('\n')).contains(error), qPrintable(answer.error));
    // Every refusal points to --help.
    QCOMPARE(answer.error.endsWith(QStringLiteral("Try 'mivrel --help' for more information.\n")),
             exitStatus == 1);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
