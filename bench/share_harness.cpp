// The window with its real timers on a real port, offscreen and without the about box, with
// or without the Hamlib network server: its CPU, the frames it puts on the line and the
// spacing of its own polls while bench/share-run's clients read and set through it.
#include "app/app.h"
#include "harness/process_usage.h"
#include "platform/system_services.h"
#include "share/rigctl_listen_address.h"
#include "share/sharing.h"
#include "ui/icom_window.h"

#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    App app(argc, argv);
    QCommandLineParser options;
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("line"),
                                  QStringLiteral("path"));
    const QCommandLineOption rigctld(QStringLiteral("rigctld"), QStringLiteral("server"),
                                     QStringLiteral("[HOST:]PORT"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QStringLiteral("measured"),
                                     QStringLiteral("s"), QStringLiteral("10"));
    const QCommandLineOption warmup(QStringLiteral("warmup"), QStringLiteral("before"),
                                    QStringLiteral("s"), QStringLiteral("2"));
    options.addOptions({port, rigctld, seconds, warmup});
    options.process(app);

    QTemporaryDir scratch;
    platform::Services services = platform::systemServices({options.value(port)});
    services.showMessage = [](QWidget*, const QString& text, const QString& detail) {
        std::fprintf(stderr, "message box: %s %s\n", qPrintable(text), qPrintable(detail));
    };
    services.debugFileName = scratch.filePath(QStringLiteral("DEBUG.TXT"));
    app.setServices(services);
    IcomWindow& window = app.mainWindow();
    window.init();
    if (options.isSet(rigctld)) {
        const auto address = share::parseListenAddress(options.value(rigctld).toStdString());
        if (!address) {
            return 2;
        }
        if (const std::string error = app.sharing().startNetworkServer(*address); !error.empty()) {
            std::fprintf(stderr, "the server could not listen: %s\n", error.c_str());
            return 2;
        }
        std::printf("listening %s\n", app.sharing().networkServer()->where().c_str());
        std::fflush(stdout);
    }

    long frames = 0;
    bool counting = false;
    QObject::connect(&window.door().taps(), &line::Taps::written, &window,
                     [&](const QByteArray& b) { frames += counting ? b.count(char(0xFD)) : 0; });
    // The window's own frequency reads, as they leave the port.
    std::vector<line::Millis> polls;
    QObject::connect(&window.door().taps(), &line::Taps::frame, &window,
                     [&](const line::FrameEvent& e) {
                         if (counting && e.direction == line::Direction::Sent &&
                             e.origin.source == line::Source::Window &&
                             e.view.command == civ::kCmdReadFrequency) {
                             polls.push_back(e.at);
                         }
                     });
    bench::Usage start;
    bench::Usage end;
    const int warmupMs = static_cast<int>(options.value(warmup).toDouble() * 1000);
    const int measuredMs = static_cast<int>(options.value(seconds).toDouble() * 1000);
    QTimer::singleShot(warmupMs, &window, [&] {
        start = bench::usageNow();
        counting = true;
    });
    QTimer::singleShot(warmupMs + measuredMs, &window, [&] {
        end = bench::usageNow();
        counting = false;
        QCoreApplication::quit();
    });
    App::exec();
    const double wall = bench::wallSeconds(start, end);
    std::printf("cpu: %.2f %% of one core over %.1f s\n", bench::cpuPercent(start, end), wall);
    std::printf("frames written: %.1f per s\n", static_cast<double>(frames) / wall);
    std::printf("window poll gaps:");
    for (std::size_t i = 1; i < polls.size(); ++i) {
        std::printf(" %lld", static_cast<long long>(polls[i] - polls[i - 1]));
    }
    std::printf(" ms\n");
    return 0;
}
