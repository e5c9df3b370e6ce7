// The harness's options read from its command line.
#include "harness_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace bench {

namespace {

QCommandLineOption valueOption(const char* name, const char* help, const char* valueName)
{
    return {QString::fromLatin1(name), QString::fromLatin1(help), QString::fromLatin1(valueName)};
}

double number(const QCommandLineParser& parser, const QCommandLineOption& option, double fallback)
{
    if (!parser.isSet(option)) {
        return fallback;
    }
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    if (!ok || value < 0) {
        qFatal("bad value for --%s", qPrintable(option.names().first()));
    }
    return value;
}

} // namespace

HarnessOptions parseHarnessOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs the Icom Interface window on a port with its real timers, works "
                       "its controls and reports CPU, memory and bus figures."));
    parser.addHelpOption();
    const auto port = valueOption("port", "Serial port to open.", "path");
    const auto label = valueOption("label", "Prefix of every result line.", "name");
    const auto baud = valueOption("baud", "Line rate chosen in the window (9600).", "rate");
    const auto warmup = valueOption("warmup", "Seconds before measuring (2).", "s");
    const auto seconds = valueOption("seconds", "Seconds measured (10).", "s");
    const auto settle = valueOption("settle", "Seconds for replies after polling stops (1).", "s");
    const auto setEvery = valueOption("set-every", "Type a frequency and Set every s.", "s");
    const QCommandLineOption showData(QStringLiteral("show-data"),
                                      QStringLiteral("Tick Show Data."));
    const QCommandLineOption debug(QStringLiteral("debug"), QStringLiteral("Tick Debug."));
    const QCommandLineOption monitor(QStringLiteral("monitor"),
                                     QStringLiteral("Open Tools > Bus Monitor before warm-up."));
    const auto monitorFill =
        valueOption("monitor-fill", "Open the Bus Monitor as measuring starts, with n rows.", "n");
    const auto simLog = valueOption("sim-log", "civ-sim --log output to tally.", "file");
    const auto rssGrowth = valueOption("max-rss-growth", "Judge RSS growth (kB).", "kB");
    const QCommandLineOption nextTick(
        QStringLiteral("expect-next-tick"),
        QStringLiteral("Judge: the display changes on the first tick after each reply."));
    const QCommandLineOption answers(QStringLiteral("expect-answers"),
                                     QStringLiteral("Judge: every poll written is answered."));
    const QCommandLineOption noWarnings(QStringLiteral("expect-no-warnings"),
                                        QStringLiteral("Judge: no warnings but jam reports."));
    const QCommandLineOption bare(
        QStringLiteral("bare"),
        QStringLiteral("Run a bare Qt window with a 50 ms timer instead; --port unused."));
    const QCommandLineOption tickCost(
        QStringLiteral("tick-cost"),
        QStringLiteral("Time the CPU spent in each Timer1 tick (costs the process a little)."));
    parser.addOptions({port, label, baud, warmup, seconds, settle, setEvery, showData, debug,
                       monitor, monitorFill, simLog, rssGrowth, nextTick, answers, noWarnings, bare,
                       tickCost});
    parser.process(app);
    if (!parser.isSet(port) && !parser.isSet(bare)) {
        parser.showHelp(2);
    }

    HarnessOptions o;
    o.port = parser.value(port);
    if (parser.isSet(label)) {
        o.label = parser.value(label);
    }
    o.baud = static_cast<int>(number(parser, baud, o.baud));
    o.warmupSeconds = number(parser, warmup, o.warmupSeconds);
    o.seconds = number(parser, seconds, o.seconds);
    o.settleSeconds = number(parser, settle, o.settleSeconds);
    o.setEverySeconds = number(parser, setEvery, 0);
    o.showData = parser.isSet(showData);
    o.debug = parser.isSet(debug);
    o.monitor = parser.isSet(monitor);
    o.monitorFill = static_cast<int>(number(parser, monitorFill, 0));
    o.simLog = parser.value(simLog);
    if (parser.isSet(rssGrowth)) {
        o.maxRssGrowthKb = static_cast<long>(number(parser, rssGrowth, 0));
    }
    o.expectNextTick = parser.isSet(nextTick);
    o.expectAnswers = parser.isSet(answers);
    o.expectNoWarnings = parser.isSet(noWarnings);
    o.bare = parser.isSet(bare);
    o.tickCost = parser.isSet(tickCost);
    return o;
}

} // namespace bench
