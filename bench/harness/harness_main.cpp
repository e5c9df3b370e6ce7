// The program's window on a real port, with its real timers and an operator working the
// controls, under the offscreen platform. The about box is left out: it waits for a click.
#include "app/app.h"
#include "civ/frame.h"
#include "counting_connection.h"
#include "harness_options.h"
#include "platform/system_services.h"
#include "platform/text_numbers.h"
#include "report.h"
#include "tick_cost.h"
#include "ui/icom_window.h"
#include "warning_log.h"
#include "window_operator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

// kHz, as typed with the unit pop-up left at kHz; each differs from the one before.
constexpr std::array<const char*, 6> kFrequencies{"14074", "7040.5",    "3573.25",
                                                  "21074", "28074.125", "10136"};

int milliseconds(double seconds)
{
    return static_cast<int>(seconds * 1000);
}

// What any Qt program with the window's 50 ms pump costs: a window of its size, shown, and a
// timer that does nothing.
int runBare(const bench::HarnessOptions& options)
{
    QWidget window;
    window.resize(576, 560);
    window.show();
    QTimer pump;
    QObject::connect(&pump, &QTimer::timeout, &window, [] {});
    pump.start(50);
    bench::Usage start;
    QTimer::singleShot(milliseconds(options.warmupSeconds), &window,
                       [&start] { start = bench::usageNow(); });
    QTimer::singleShot(milliseconds(options.warmupSeconds + options.seconds), &window, [&] {
        bench::printBareReport(options, start, bench::usageNow());
        QCoreApplication::quit();
    });
    return App::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    bench::installWarningLog();
    App app(argc, argv);
    const bench::HarnessOptions options = bench::parseHarnessOptions(app);
    if (options.bare) {
        return runBare(options);
    }

    QTemporaryDir scratch;
    platform::Services services = platform::systemServices({options.port});
    bench::CountingConnection* connection = nullptr;
    services.newConnection = [&connection, &options, real = services.newConnection] {
        auto counting = std::make_unique<bench::CountingConnection>(real());
        if (options.debug) {
            counting->keepReadBytes();
        }
        connection = counting.get();
        return counting;
    };
    services.showMessage = [](QWidget*, const QString& text, const QString& detail) {
        qWarning().noquote() << "message box:" << text << detail;
    };
    services.debugFileName = scratch.filePath(QStringLiteral("DEBUG.TXT"));
    app.setServices(services);

    IcomWindow& window = app.mainWindow();
    window.init();
    bench::WindowOperator op(window);
    if (!options.simLog.isEmpty()) {
        constexpr double kTicksPerSecond = 20;
        op.watchTicks(static_cast<std::size_t>(
            (options.warmupSeconds + options.seconds + options.settleSeconds + 10) *
            kTicksPerSecond));
    }
    std::unique_ptr<bench::TickCost> tickCost;
    if (options.tickCost) {
        tickCost = std::make_unique<bench::TickCost>(*window.findChild<QTimer*>("Timer1"));
    }
    if (options.baud != 9600 && !op.chooseBaud(options.baud)) {
        std::fprintf(stderr, "harness: no %d bit/s row\n", options.baud);
        return 2;
    }
    if (options.showData) {
        op.tick("ShowDataCheck");
    }
    if (options.debug) {
        op.tick("DebugCheckBox");
    }
    if (options.monitor) {
        op.openBusMonitor();
    }

    bench::RunResult result;
    QObject::connect(&window.door().taps(), &line::Taps::received, &window,
                     [&result](const QByteArray& chunk) { result.bytesParsed += chunk.size(); });
    QTimer setter;
    QObject::connect(&setter, &QTimer::timeout, &window, [&] {
        op.typeFrequency(QString::fromLatin1(
            kFrequencies[static_cast<std::size_t>(result.setsTyped) % kFrequencies.size()]));
        ++result.setsTyped;
    });
    QTimer::singleShot(milliseconds(options.warmupSeconds), &window, [&] {
        result.start = bench::usageNow();
        result.bytesReadAtStart = connection ? connection->bytesRead() : 0;
        if (tickCost) {
            tickCost->restart();
        }
        if (options.monitorFill > 0) {
            result.monitorRows = op.fillBusMonitor(options.monitorFill);
        }
        if (options.setEverySeconds > 0) {
            setter.start(milliseconds(options.setEverySeconds));
        }
    });
    QTimer::singleShot(milliseconds(options.warmupSeconds + options.seconds), &window, [&] {
        result.end = bench::usageNow();
        result.bytesReadAtEnd = connection ? connection->bytesRead() : 0;
        if (tickCost) {
            result.tickMicroseconds = tickCost->meanMicroseconds();
        }
        setter.stop();
        op.stopPolling();
        // Timer1 goes on, so what is queued still leaves and late replies are still read.
        QTimer::singleShot(milliseconds(options.settleSeconds), &app, &QCoreApplication::quit);
    });
    App::exec();

    result.peakRssKb = bench::peakRssKb();
    result.pollsWritten = connection ? connection->written(civ::kCmdReadFrequency) +
                                           connection->written(civ::kCmdReadMode)
                                     : 0;
    result.setsWritten = connection ? connection->written(civ::kCmdSetFrequency) +
                                          connection->written(civ::kCmdSetMode)
                                    : 0;
    if (connection) {
        result.pollTimes = connection->frequencyPollTimes();
        result.bytesReadInAll = connection->bytesRead();
    }
    if (options.debug && connection) {
        QFile log(services.debugFileName);
        result.debugLogExact = log.open(QIODevice::ReadOnly) &&
                               log.readAll() == platform::hexText(connection->kept()).toLatin1();
    }
    result.ourAddress = op.ourAddress();
    result.displayChanges = op.displayChanges();
    result.tickEnds = op.tickEnds();
    if (!options.simLog.isEmpty()) {
        result.simFrames = bench::readSimLog(options.simLog);
    }
    result.warnings = bench::loggedWarnings();
    result.jamWarnings = bench::loggedJamWarnings();
    return bench::printReport(options, result) ? 0 : 1;
}
