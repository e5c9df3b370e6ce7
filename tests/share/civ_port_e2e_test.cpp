// Hamlib's rigctl drives a simulated radio through the program's CI-V port, as --civ-pty sets
// it up, while the main window polls another radio on the same bus.
#include "app/app.h"
#include "event_loop.h"
#include "share/share_window.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

constexpr int kDeadlineMs = 30'000;

class CivPortEndToEnd : public ::testing::Test {
protected:
    void TearDown() override
    {
        sim.terminate();
        sim.waitForFinished(kDeadlineMs);
    }

    // rigctl's answers, one a line; empty with a failure when it failed.
    std::string rigctl(const QStringList& args)
    {
        QProcess rig;
        rig.start(QStringLiteral(RIGCTL_PATH),
                  QStringList{QStringLiteral("-r"), temp.filePath(QStringLiteral("civ"))} + args);
        if (!pumpUntil([&] { return rig.state() == QProcess::NotRunning; }, kDeadlineMs)) {
            rig.kill();
            rig.waitForFinished();
            ADD_FAILURE() << "rigctl did not finish";
        }
        EXPECT_EQ(rig.exitCode(), 0);
        const QString out = QString::fromLocal8Bit(rig.readAllStandardOutput());
        EXPECT_FALSE(out.contains(QStringLiteral("error"))) << out.toStdString();
        return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
            .join(QLatin1Char(' '))
            .toStdString();
    }

    // The simulated radio's own account of a request and its answer.
    bool radioAnswered(const char* request, const char* answer)
    {
        log += sim.readAllStandardError();
        const qsizetype at = log.indexOf(QByteArray("rx ") + request);
        return at >= 0 && log.indexOf(QByteArray("tx ") + answer, at) > at;
    }

    QProcess sim;
    QTemporaryDir temp;
    QByteArray log;
};

TEST_F(CivPortEndToEnd, RigctlReadsAndSetsFrequencyModeAndPtt)
{
    sim.start(QStringLiteral(CIV_SIM_PATH), {"--radio", "0x08", "--radio", "0x58", "--log"});
    ASSERT_TRUE(pumpUntil([&] { return sim.canReadLine(); }, kDeadlineMs));
    const QString line = QString::fromLocal8Bit(sim.readLine()).trimmed();

    auto& app = *static_cast<App*>(QCoreApplication::instance());
    platform::Services services = platform::systemServices({line});
    services.showMessage = [](QWidget*, const QString&, const QString&) {};
    services.debugFileName = temp.filePath(QStringLiteral("DEBUG.TXT"));
    app.setServices(services);
    app.setCivPortPath(temp.filePath(QStringLiteral("civ")));
    app.Open();
    IcomWindow& window = app.mainWindow();
    const auto shown = [&window](const char* name) {
        return window.findChild<QLabel*>(QLatin1String(name))->text();
    };
    ASSERT_TRUE(pumpUntil([&] { return shown("FreqDisplay") == "14074"; }, kDeadlineMs));

    // IC-706MkIIG at 58, controller E0: its open sequence, then frequency and mode.
    EXPECT_EQ(rigctl({"-m", "3011", "f", "F", "7100000", "f", "m", "M", "LSB", "0", "m"}),
              "14074000 7100000 USB 2400 LSB 2400");
    EXPECT_TRUE(radioAnswered("FE FE 58 E0 05 00 00 10 07 00 FD", "FE FE E0 58 FB FD"));
    EXPECT_TRUE(radioAnswered("FE FE 58 E0 06 00", "FE FE E0 58 FB FD"));

    // That model has no PTT in Hamlib; the IC-7000's backend does, over the same commands.
    EXPECT_EQ(rigctl({"-m", "3060", "-c", "0x58", "--set-conf=cache_timeout=0", "T", "1", "t", "T",
                      "0", "t"}),
              "1 0");
    EXPECT_TRUE(radioAnswered("FE FE 58 E0 1C 00 01 FD", "FE FE E0 58 FB FD"));
    EXPECT_TRUE(radioAnswered("FE FE 58 E0 1C 00 00 FD", "FE FE E0 58 FB FD"));

    // The radio the port set, read by the main window; the window's own radio went on answering.
    EXPECT_EQ(shown("FreqDisplay"), "14074");
    window.findChild<QLineEdit*>(QStringLiteral("EditRadioID"))->setText(QStringLiteral("88"));
    window.ReqTimer_Action();
    EXPECT_TRUE(
        pumpUntil([&] { return shown("FreqDisplay") == "7100" && shown("ModeDisplay") == "LSB"; },
                  kDeadlineMs));

    auto* const list = window.shareWindow().findChild<QTreeWidget*>(QStringLiteral("ShareList"));
    window.menuBar1()->shareAction()->trigger();
    ASSERT_TRUE(pumpUntil([&] { return list->topLevelItemCount() == 2; }, kDeadlineMs));
    EXPECT_EQ(list->topLevelItem(0)->text(1), temp.filePath(QStringLiteral("civ")));
    EXPECT_TRUE(list->topLevelItem(1)->text(0).endsWith("(controller E0)"));
    EXPECT_NE(list->topLevelItem(1)->text(3), "0") << "answered";

    // Stop hangs up on the program; the port waits for the next one at the same path.
    qobject_cast<QPushButton*>(
        list->itemWidget(list->topLevelItem(1), share::ShareWindow::kStopColumn))
        ->click();
    ASSERT_TRUE(pumpUntil([&] { return list->topLevelItemCount() == 1; }, kDeadlineMs));
    EXPECT_EQ(rigctl({"-m", "3011", "f"}), "7100000");
}

} // namespace
