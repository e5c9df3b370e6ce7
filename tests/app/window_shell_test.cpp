#include "app/about.h"
#include "platform/text_numbers.h"
#include "ui/menu_bar.h"
#include "window_fixture.h"

#include <QApplication>
#include <QMenu>
#include <algorithm>

TEST(AboutText, IsVersionThenLineEndThenPurpose)
{
    EXPECT_EQ(aboutText(1, 2, 3, "\n"),
              QStringLiteral("Tarvik Icom Version 1.2.3\n"
                             "A simple program to test out an Icom CI-V Interface"));
    EXPECT_EQ(aboutText(10, 0, 07, "\r\n"),
              QStringLiteral("Tarvik Icom Version 10.0.7\r\n"
                             "A simple program to test out an Icom CI-V Interface"));
}

TEST(NumberReading, TakesTheLeadingDecimalNumber)
{
    struct {
        const char* text;
        double value;
        int integer;
    } const cases[] = {
        {"234", 234, 234}, {"14.07", 14.07, 14}, {"8abc", 8, 8},
        {"", 0, 0},        {"abc", 0, 0},        {" 12", 12, 12},
        {"-5", -5, -5},    {".5", 0.5, 0},       {"1.2.3", 1.2, 1},
        {"7 kHz", 7, 7},   {"+3", 3, 3},         {"-", 0, 0},
        {"1e3", 1, 1},     {"0x10", 0, 0},       {"99999999999", 99999999999.0, 2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(platform::numericValue(QString::fromLatin1(c.text)), c.value);
        EXPECT_EQ(platform::integerValue(QString::fromLatin1(c.text)), c.integer);
    }
}

TEST(HexText, TwoUpperCaseDigitsAndAnUnderscorePerByte)
{
    EXPECT_EQ(platform::hexText(QByteArray("\xFE\xFE\xE0\x0A", 4)), QStringLiteral("FE_FE_E0_0A_"));
    EXPECT_EQ(platform::hexText(QByteArray("\x00\xFF\x5c", 3)), QStringLiteral("00_FF_5C_"));
    EXPECT_EQ(platform::hexText(QByteArray()), QString());
}

TEST_F(WindowTest, MenusHoldQuitAndTheEditingItems)
{
    build({});
    const QList<QAction*> menus = window->menuBar1()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Edit"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("&Tools"));
    EXPECT_EQ(menus[3]->text(), QStringLiteral("&Help"));
    EXPECT_TRUE(menus[0]->shortcut().isEmpty());
    EXPECT_TRUE(menus[1]->shortcut().isEmpty());

    const QList<QAction*> file = menus[0]->menu()->actions();
    ASSERT_EQ(file.size(), 1);
    EXPECT_EQ(file[0]->objectName(), QStringLiteral("FileQuit"));
    EXPECT_EQ(file[0]->text(), QStringLiteral("Quit"));
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(QKeySequence::Quit));
    EXPECT_EQ(file[0]->menuRole(), QAction::QuitRole);

    const QList<QAction*> edit = menus[1]->menu()->actions();
    ASSERT_EQ(edit.size(), 6);
    const char* names[] = {"EditUndo", "UntitledMenu0", "EditCut",
                           "EditCopy", "EditPaste",     "EditClear"};
    const QKeySequence keys[] = {QKeySequence::Undo,  {}, QKeySequence::Cut, QKeySequence::Copy,
                                 QKeySequence::Paste, {}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(edit[i]->objectName(), QLatin1String(names[i]));
        EXPECT_EQ(edit[i]->shortcut(), keys[i]);
    }
    EXPECT_TRUE(edit[1]->isSeparator());
    EXPECT_EQ(edit[5]->text(), QStringLiteral("Clear"));
}

TEST_F(WindowTest, EditItemsActOnTheFocusedField)
{
    buildAndInit();
    QApplication::setActiveWindow(window.get());
    auto* freq = control<QLineEdit>("EditFreq");
    freq->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), freq);
    freq->setText(QStringLiteral("14074"));
    freq->setSelection(0, 2);
    window->findChild<QAction*>(QStringLiteral("EditClear"))->trigger();
    EXPECT_EQ(freq->text(), QStringLiteral("074"));
    window->findChild<QAction*>(QStringLiteral("EditUndo"))->trigger();
    EXPECT_EQ(freq->text(), QStringLiteral("14074"));
}

TEST_F(WindowTest, QuitEndsTheEventLoop)
{
    build({});
    QAction* quit = window->findChild<QAction*>(QStringLiteral("FileQuit"));
    QTimer::singleShot(0, quit, &QAction::trigger);
    // Fails by timing out if Quit does not end the loop.
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

TEST_F(WindowTest, OpenShowsTheAboutMessageBeforeTheWindowAndInitsItOnce)
{
    QStringList events;
    platform::Services s = services({{"A", "/dev/A"}});
    s.showMessage = [&](QWidget*, const QString& text, const QString&) {
        const bool windowExists = std::any_of(
            QApplication::topLevelWidgets().cbegin(), QApplication::topLevelWidgets().cend(),
            [](QWidget* w) { return qobject_cast<IcomWindow*>(w) != nullptr; });
        events.append(windowExists ? "window" : "no window");
        events.append(text);
    };
    App& a = app();
    a.setServices(s);
    a.Open();
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0], QStringLiteral("no window"));
    EXPECT_TRUE(events[1].startsWith(QStringLiteral("Tarvik Icom Version 1.0.0\n")));
    IcomWindow& first = a.mainWindow();
    EXPECT_EQ(&first, &a.mainWindow());
    EXPECT_EQ(first.findChild<QLineEdit*>(QStringLiteral("OurIDEditField"))->text(), "234");
    EXPECT_EQ(port->openedRates, QList<int>({300, 300, 9600}));
}
