// Check Interface on a real port, with the window's real timers: the time from Start to the
// check's last sentence, and that sentence; with "deep", then the same for the deeper search at
// the rate it offers.
//   check-timing PORT LABEL [deep]
#include "app/app.h"
#include "platform/system_services.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    App app(argc, argv);
    const QStringList args = App::arguments();
    if (args.size() != 3 && !(args.size() == 4 && args[3] == QStringLiteral("deep"))) {
        std::fprintf(stderr, "usage: check-timing PORT LABEL [deep]\n");
        return 2;
    }
    platform::Services services = platform::systemServices({args[1]});
    services.showMessage = [](QWidget*, const QString& text, const QString& detail) {
        std::fprintf(stderr, "message box: %s %s\n", qPrintable(text), qPrintable(detail));
    };
    app.setServices(services);
    IcomWindow& window = app.mainWindow();
    window.init();
    window.menuBar1()->checkInterfaceAction()->trigger();
    auto* start = window.findChild<QPushButton*>(QStringLiteral("StartButton"));
    auto* report = window.findChild<QPlainTextEdit*>(QStringLiteral("CheckReport"));
    auto* deep = window.findChild<QPushButton*>(QStringLiteral("DeepSearchButton"));
    bool deepNext = args.size() == 4;

    QElapsedTimer clock;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &window, [&] {
        if (start->isEnabled()) {
            const QStringList lines = report->toPlainText().split(u'\n');
            std::printf("%s check: %lld ms\n%s check ends: %s\n", qPrintable(args[2]),
                        static_cast<long long>(clock.elapsed()), qPrintable(args[2]),
                        qPrintable(lines.last()));
            if (deepNext && deep->isEnabled()) {
                deepNext = false;
                clock.start();
                deep->click();
                return;
            }
            QCoreApplication::quit();
        }
    });
    // After the port has opened and the first poll has gone, as an operator would.
    QTimer::singleShot(1000, &window, [&] {
        clock.start();
        start->click();
        watch.start(10);
    });
    return App::exec();
}
