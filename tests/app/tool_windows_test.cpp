// Each tool window on a small, a large and a scaled screen: wholly inside it, every control in
// sight, and closed by Escape and Ctrl+W.
#include "event_loop.h"
#include "share/share_window.h"
#include "ui/controls.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Not cut off by the window's edge, nor its placeholder by the field's.
void expectWhole(QWidget* tool, QWidget* control)
{
    SCOPED_TRACE(control->objectName().toStdString() + " " + control->metaObject()->className());
    const QRect at(control->mapTo(tool, QPoint(0, 0)), control->size());
    EXPECT_TRUE(tool->rect().contains(at)) << at.x() << "," << at.y() << " " << at.width();
    auto* const field = qobject_cast<QLineEdit*>(control);
    if (field && !field->placeholderText().isEmpty()) {
        QStyleOptionFrame option;
        option.initFrom(field);
        const int room =
            field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).width() - 4;
        EXPECT_GE(room, field->fontMetrics().horizontalAdvance(field->placeholderText()));
    }
}

class ToolWindows : public WindowTest, public testing::WithParamInterface<const char*> {
protected:
    // A network client and a CI-V program on the Share window, with the longest names.
    void connectBothKindsOfClient(share::ShareWindow& share)
    {
        share.startNetworkServer({"127.0.0.1", 0});
        const QString where = QString::fromStdString(share.networkServer()->where());
        network.connectToHost(QStringLiteral("127.0.0.1"),
                              static_cast<quint16>(where.section(u':', -1).toUInt()));
        ASSERT_EQ(share.startCivPort(temp.filePath(QStringLiteral("civ"))), QString());
        program = ::open(temp.filePath(QStringLiteral("civ")).toLocal8Bit(), O_RDWR | O_NOCTTY);
        const char poll[] = "\xFE\xFE\x08\xE0\x03\xFD";
        ASSERT_EQ(::write(program, poll, 6), 6);
        auto* const list = share.findChild<QTreeWidget*>(QStringLiteral("ShareList"));
        ASSERT_TRUE(pumpUntil([&] {
            emit window->taps().ticked();
            return list->topLevelItemCount() == 4;
        }));
    }

    void TearDown() override { ::close(program); }

    QTemporaryDir temp;
    QTcpSocket network;
    int program = -1;
};

TEST_P(ToolWindows, OpenOnTheScreenWithEveryControlInSightAndCloseByKey)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto screen = std::find_if(screens.cbegin(), screens.cend(), [](const QScreen* s) {
        return s->name() == QLatin1String(GetParam());
    });
    ASSERT_NE(screen, screens.cend());
    const QRect area = (*screen)->availableGeometry();
    buildAndInit().move(area.topLeft());
    ASSERT_TRUE(pumpUntil([&] { return window->screen() == *screen; }));

    window->showCheckInterface();
    window->showBusMonitor();
    share::ShareWindow& share = window->shareWindow();
    ui::bringUp(&share);
    connectBothKindsOfClient(share);
    QCoreApplication::processEvents();
    const QWidgetList tools = {window->findChild<QWidget*>(QStringLiteral("CheckWindow")),
                               window->findChild<QWidget*>(QStringLiteral("BusMonitor")), &share};
    for (QWidget* const tool : tools) {
        SCOPED_TRACE(tool->objectName().toStdString());
        EXPECT_TRUE(area.contains(tool->frameGeometry()))
            << tool->frameGeometry().x() << "," << tool->frameGeometry().y() << " "
            << tool->frameGeometry().width() << "x" << tool->frameGeometry().height() << " min "
            << tool->minimumSizeHint().width() << "x" << tool->minimumSizeHint().height();
        for (QWidget* const control : tool->findChildren<QWidget*>()) {
            if (control->isVisibleTo(tool) && control->isWindow() == false &&
                (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                 qobject_cast<QComboBox*>(control))) {
                expectWhole(tool, control);
            }
        }
    }
    // Every column in sight, and every Stop.
    const auto* const rows = tools[1]->findChild<QTableView*>(QStringLiteral("rows"));
    EXPECT_LE(rows->horizontalHeader()->length(), rows->viewport()->width())
        << rows->horizontalScrollBar()->maximum();
    const auto* const list = share.findChild<QTreeWidget*>(QStringLiteral("ShareList"));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (const QWidget* stop = list->itemWidget(list->topLevelItem(i), share.kStopColumn)) {
            EXPECT_TRUE(list->viewport()->rect().contains(stop->geometry())) << i;
        }
    }

    for (const auto& [tool, key, modifiers] : {std::tuple{tools[0], Qt::Key_Escape, Qt::NoModifier},
                                               {tools[1], Qt::Key_W, Qt::ControlModifier},
                                               {tools[2], Qt::Key_Escape, Qt::NoModifier}}) {
        ui::bringUp(tool);
        ASSERT_TRUE(pumpUntil([tool] { return tool->isActiveWindow(); }));
        QTest::keyClick(tool, key, modifiers);
        EXPECT_FALSE(tool->isVisible()) << tool->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, ToolWindows,
                         testing::Values("1024x600", "1280x1024", "1280x1024 at scale 2"));

} // namespace
