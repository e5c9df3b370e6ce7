// The program's start: its command line read, the kept settings and the services handed in.
#include "app/app.h"
#include "platform/system_services.h"
#include "settings/kept_settings.h"

#include <QCommandLineParser>
#include <QTimer>
#include <cstring>

namespace {

QCommandLineOption portOption()
{
    return {QStringLiteral("port"),
            QStringLiteral("Lists <path> first among the serial ports; repeat for more. A path "
                           "of the form tcp://HOST:PORT is a raw TCP serial server."),
            QStringLiteral("path")};
}

QCommandLineOption rigctldOption()
{
    return {QStringLiteral("rigctld"),
            QStringLiteral("Starts the Hamlib network server on [HOST:]PORT (host 127.0.0.1 "
                           "unless given; rigctl -m 2 -r HOST:PORT reaches the radio)."),
            QStringLiteral("[HOST:]PORT")};
}

QCommandLineOption civPtyOption()
{
    return {QStringLiteral("civ-pty"),
            QStringLiteral("Opens the CI-V port for other programs: a pseudo-terminal reached at "
                           "<path>, which a program that speaks CI-V opens as the radio."),
            QStringLiteral("path")};
}

void describe(QCommandLineParser& options)
{
    options.setApplicationDescription(QStringLiteral(
        "Tests and drives Icom radios over the CI-V serial bus.\n\n"
        "Examples:\n"
        "  icom-interface --port /dev/ttyUSB0\n"
        "  civ-sim   (a simulated radio: prints its port, /dev/pts/3 say, and runs on)\n"
        "  icom-interface --port /dev/pts/3   (in a second terminal)\n"
        "  icom-interface --port tcp://shack.example.org:4001   (a networked serial server)\n"
        "  icom-interface --civ-pty /tmp/civ   (then: rigctl -m 3011 -r /tmp/civ)"));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(portOption());
    options.addOption(rigctldOption());
    options.addOption(civPtyOption());
}

// --help and --version answer without a display, so they run before the application exists.
bool answersWithoutWindow(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char* flag : {"-h", "--help", "--help-all", "-?", "-v", "--version"}) {
            if (std::strcmp(argv[i], flag) == 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    App::setApplicationName(QStringLiteral("icom-interface"));
    App::setApplicationVersion(QStringLiteral(ICOM_INTERFACE_VERSION));

    if (answersWithoutWindow(argc, argv)) {
        const QCoreApplication core(argc, argv);
        QCommandLineParser options;
        describe(options);
        options.process(core);
        return 0;
    }

    App app(argc, argv);
    QCommandLineParser options;
    describe(options);
    options.process(app);
    QStringList ports = options.values(portOption());
    if (const auto kept = settings::KeptSettings().load()) {
        // A port named at start outranks the one kept; a kept one that is gone is told so.
        if (ports.isEmpty() && !kept->port.isEmpty()) {
            ports.append(kept->port);
        }
        app.setStartSettings(*kept);
    }
    app.setServices(platform::systemServices(ports));
    if (options.isSet(rigctldOption())) {
        app.networkServer = share::parseListenAddress(options.value(rigctldOption()).toStdString());
        if (!app.networkServer) {
            qCritical("icom-interface: --rigctld takes [HOST:]PORT");
            return 2;
        }
    }
    app.setCivPortPath(options.value(civPtyOption()));
    QTimer::singleShot(0, &app, &App::Open);
    return App::exec();
}
