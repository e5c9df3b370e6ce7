// Remember Settings: nothing written until it is ticked, then the line's settings at every
// change, back at the next start, and gone again when it is unticked.
#include "event_loop.h"
#include "ui/menu_bar.h"
#include "ui/remember_settings.h"
#include "window_fixture.h"

#include <QDir>
#include <QStandardPaths>

namespace {

TEST_F(WindowTest, SettingsAreKeptOnlyWhileTheOperatorAsksAndComeBackAtTheNextStart)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString file = config + "/icom-interface/icom-interface.conf";
    // As the program starts: the window in its working state, then the item watching it.
    const auto start = [this](const settings::LineSettings& values) {
        build().init(values);
        new ui::RememberSettings(*window, *window->menuBar1()->rememberAction());
    };
    start({});
    QAction* item = window->menuBar1()->rememberAction();
    EXPECT_FALSE(item->isChecked());
    control<QLineEdit>("EditRadioID")->setText("148");
    QCoreApplication::processEvents();
    EXPECT_TRUE(QDir(config).isEmpty());

    item->trigger();
    control<QComboBox>("SerialPopup")->setCurrentIndex(1);
    control<QComboBox>("PopupFreqBytes")->setCurrentIndex(1);
    window->checkControl().useSettings(10, 164); // the check's "Use these settings": 19200 and 164
    control<QLineEdit>("OurIDEditField")->setText("0xE0");
    EXPECT_TRUE(pumpUntil([&] { return QFile::exists(file); }));

    const auto kept = settings::KeptSettings().load();
    ASSERT_TRUE(kept);
    EXPECT_EQ(*kept, (settings::LineSettings{"/dev/B", 10, "0xE0", "164", 1}));
    start(*kept);
    EXPECT_TRUE(window->menuBar1()->rememberAction()->isChecked());
    EXPECT_EQ(control<QLineEdit>("OurIDEditField")->text(), "0xE0");
    EXPECT_EQ(control<QLineEdit>("EditRadioID")->text(), "164");
    EXPECT_EQ(control<QComboBox>("PopupFreqBytes")->currentText(), "5");
    EXPECT_EQ(port->openedRates.last(), 19200);

    window->menuBar1()->rememberAction()->trigger();
    EXPECT_TRUE(QDir(config).isEmpty());
    EXPECT_EQ(settings::KeptSettings().load(), std::nullopt);
}

} // namespace
