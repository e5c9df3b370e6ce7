// Each tool window on a small, a large and a scaled screen: wholly inside it, every control in
// sight, and closed by Escape and Ctrl+W. The network server's address in the menu.
#include "app/tools.h"
#include "event_loop.h"
#include "share/share_window.h"
#include "share/sharing.h"
#include "ui/controls.h"
#include "ui/menu_bar.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The screens of screens.json: 1024x600, 1280x1024, and 1280x1024 at scale 2 (640x512).
class ToolWindows : public WindowTest, public testing::WithParamInterface<int> {};

TEST_P(ToolWindows, OpenOnTheScreenWithEveryControlInSightAndCloseByKey)
{
    QScreen* const screen = QGuiApplication::screens().value(GetParam());
    const QRect area = screen->availableGeometry();
    // In the screen's far corner, where a tool window has room neither beside nor below it.
    buildAndInit();
    window->move(area.bottomRight() - window->frameGeometry().bottomRight());
    ASSERT_TRUE(pumpUntil([&] { return window->screen() == screen; }));
    share::Sharing sharing(window->door());
    const Tools menu(*window, sharing,
                     [this](QWidget*, const QString& text, const QString& detail) {
                         messages.append(text);
                         details.append(detail);
                     });
    window->menuBar1()->checkInterfaceAction()->trigger();
    window->menuBar1()->busMonitorAction()->trigger();

    // The network server started from the Share window, where the menu says, first on a port
    // another program holds; then both kinds of client on it, with long names.
    QAction* const item = window->menuBar1()->networkServerAction();
    EXPECT_EQ(item->text(), "Hamlib Network Server (127.0.0.1:4532)");
    window->menuBar1()->shareAction()->trigger();
    auto& share = *window->findChild<share::ShareWindow*>(QStringLiteral("ShareWindow"));
    auto* const port = share.findChild<QSpinBox*>(QStringLiteral("ServerPort"));
    auto* const listen = share.findChild<QPushButton*>(QStringLiteral("StartNetworkServer"));
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost));
    port->setValue(holder.serverPort());
    listen->click();
    EXPECT_TRUE(details.value(0).contains("rigctld") && details.value(0).contains("another port"));
    EXPECT_FALSE(item->isChecked());
    port->setValue(0);
    listen->click();
    ASSERT_TRUE(item->isChecked());
    const QString where = QString::fromStdString(sharing.networkServer()->where());
    EXPECT_EQ(item->text(), "Hamlib Network Server (" + where + ")");
    QTcpSocket network;
    network.connectToHost(QHostAddress::LocalHost, where.section(':', -1).toUShort());
    const QTemporaryDir temp;
    ASSERT_EQ(sharing.startCivPort(temp.filePath(QStringLiteral("civ"))), QString());
    const int program =
        ::open(temp.filePath(QStringLiteral("civ")).toLocal8Bit(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::write(program, "\xFE\xFE\x08\xE0\x03\xFD", 6), 6);
    auto* const list = share.findChild<QTreeWidget*>(QStringLiteral("ShareList"));
    ASSERT_TRUE(pumpUntil([&] {
        emit window->door().taps().ticked();
        return list->topLevelItemCount() == 4;
    }));
    ::close(program);

    const QWidgetList tools = {window->findChild<QWidget*>(QStringLiteral("CheckWindow")),
                               window->findChild<QWidget*>(QStringLiteral("BusMonitor")), &share};
    for (QWidget* const tool : tools) {
        SCOPED_TRACE(tool->objectName().toStdString());
        EXPECT_TRUE(area.contains(tool->frameGeometry()));
        for (QWidget* const control : tool->findChildren<QWidget*>()) {
            if (control->isVisibleTo(tool) &&
                (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                 qobject_cast<QComboBox*>(control))) {
                EXPECT_TRUE(
                    tool->rect().contains(QRect(control->mapTo(tool, QPoint()), control->size())))
                    << control->objectName().toStdString();
            }
        }
    }
    // Every column in sight, and every Stop.
    const auto* const rows = tools[1]->findChild<QTableView*>(QStringLiteral("rows"));
    EXPECT_LE(rows->horizontalHeader()->length(), rows->viewport()->width());
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (const QWidget* stop = list->itemWidget(list->topLevelItem(i), share.kStopColumn)) {
            EXPECT_TRUE(list->viewport()->rect().contains(stop->geometry())) << i;
        }
    }

    for (const auto& [tool, keys] :
         {std::pair{tools[0], "Esc"}, {tools[1], "Ctrl+W"}, {tools[2], "Esc"}}) {
        ui::bringUp(tool);
        ASSERT_TRUE(pumpUntil([tool] { return tool->isActiveWindow(); }));
        QTest::keySequence(tool, QKeySequence(QString::fromLatin1(keys)));
        EXPECT_FALSE(tool->isVisible()) << keys;
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, ToolWindows, testing::Values(0, 1, 2));

} // namespace
