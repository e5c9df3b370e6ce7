#include "app/app.h"
#include "platform/services.h"

#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char* argv[])
{
    App app(argc, argv);

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Tests and drives Icom radios over the CI-V serial bus.\n\n"
                       "Example: icom-interface --port /dev/pts/3"));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Lists <path> first among the serial ports; repeat for more."),
        QStringLiteral("path"));
    options.addOption(port);
    options.process(app);

    app.setServices(platform::systemServices(options.values(port)));
    QTimer::singleShot(0, &app, &App::Open);
    return App::exec();
}
