// What the operator sees of the protocol: replies in the displays, the jam warning, commands
// on the wire, and input that cannot be sent.
#include "window_fixture.h"

namespace {

constexpr int kUs = 0xEA;
constexpr int kRadio = 0x5C;

QByteArray reply(int cmd, std::initializer_list<int> data)
{
    return frame(kUs, kRadio, cmd, data);
}

} // namespace

TEST_F(WindowTest, RepliesToUsReachTheDisplays)
{
    buildAndInit();
    // What arrives; the frequency, mode and filter displays after it.
    const std::tuple<const char*, QByteArray, const char*, const char*, const char*> steps[] = {
        {"five bytes", reply(0x03, {0x00, 0x40, 0x07, 0x14, 0x00}), "14074", "Label:", "Label:"},
        {"the radio's report", frame(0x00, 0x08, 0x00, {0x00, 0x00, 0x50, 0x45, 0x01}), "145500",
         "Label:", "Label:"},
        {"four bytes", reply(0x03, {0x23, 0x41, 0x07, 0x14}), "14074.123", "Label:", "Label:"},
        {"the radio's mode report", frame(0x00, 0x08, 0x01, {0x03, 0x02}), "14074.123", "CW",
         "MEDIUM"},
        {"mode alone", reply(0x04, {0x05}), "14074.123", "FM", "MEDIUM"},
        {"unknown mode", reply(0x04, {0x11, 0x01}), "14074.123", "FM", "WIDE"},
        {"reverse", reply(0x04, {0x07, 0x03}), "14074.123", "CW-REVERSE", "NARROW"},
        {"no data", reply(0x03, {}) + reply(0x04, {}), "14074.123", "CW-REVERSE", "NARROW"},
        {"to another station", frame(kRadio, kUs, 0x03, {0x00, 0x00, 0x00, 0x07}), "14074.123",
         "CW-REVERSE", "NARROW"},
        {"another radio's report", frame(0x00, kRadio, 0x00, {0x00, 0x00, 0x00, 0x07, 0x00}),
         "14074.123", "CW-REVERSE", "NARROW"},
    };
    for (const auto& [what, in, freq, mode, filter] : steps) {
        SCOPED_TRACE(what);
        feed(in);
        EXPECT_EQ(text("FreqDisplay"), QLatin1String(freq));
        EXPECT_EQ(text("ModeDisplay"), QLatin1String(mode));
        EXPECT_EQ(text("FilterDisplay"), QLatin1String(filter));
    }
}

TEST_F(WindowTest, OurAddressIsReadAtEachFrameEnd)
{
    buildAndInit();
    auto* our = control<QLineEdit>("OurIDEditField");
    const QByteArray seven = reply(0x03, {0x00, 0x00, 0x00, 0x07, 0x00});
    feed(seven.left(6));
    our->setText(QStringLiteral("92"));
    feed(seven.mid(6));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("-"));
    our->setText(QStringLiteral("0x0"));
    feed(frame(0x00, kRadio, 0x03, {0x00, 0x00, 0x00, 0x07, 0x00}));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("7000"));
}

TEST_F(WindowTest, JamCodeShowsTheWarningUntilItsTimerFires)
{
    buildAndInit();
    auto* jamming = control<QLabel>("StaticJamming");
    auto* timer = control<QTimer>("JammerTimer");
    feed(bytes({0xFC}));
    EXPECT_TRUE(jamming->isVisibleTo(window.get()));
    EXPECT_TRUE(timer->isActive() && timer->isSingleShot());
    timer->stop();
    fire(timer);
    EXPECT_FALSE(jamming->isVisibleTo(window.get()));
}

TEST_F(WindowTest, CommandsLeaveAsTheControlsSay)
{
    buildAndInit();
    auto* freq = control<QLineEdit>("EditFreq");
    auto* unit = control<QComboBox>("kHzPopup");
    auto* byteCount = control<QComboBox>("PopupFreqBytes");
    auto* mode = control<QComboBox>("PopupMode");
    auto* filter = control<QComboBox>("PopupFilter");
    const auto setFreq = [&](const char* typed, int unitRow, int bytesRow) {
        freq->setText(QString::fromLatin1(typed));
        unit->setCurrentIndex(unitRow);
        byteCount->setCurrentIndex(bytesRow);
        control<QToolButton>("SetFreq1")->click();
    };
    const auto setMode = [&](int modeRow, int filterRow) {
        const QSignalBlocker quiet(filter);
        filter->setCurrentIndex(filterRow);
        mode->setCurrentIndex(modeRow);
    };
    // What the operator does; the frames that leave.
    const std::tuple<const char*, std::function<void()>, QByteArray> cases[] = {
        {"poll", [&] { fire("ReqTimer"); }, frame(0x08, kUs, 0x03) + frame(0x08, kUs, 0x04)},
        {"14070 kHz", [&] { setFreq("14070", 0, 0); },
         frame(0x08, kUs, 0x05, {0x00, 0x00, 0x07, 0x14})},
        {"14.07 MHz in five", [&] { setFreq("14.07", 1, 1); },
         frame(0x08, kUs, 0x05, {0x00, 0x00, 0x07, 0x14, 0x00})},
        {"empty", [&] { setFreq("", 0, 0); }, frame(0x08, kUs, 0x05, {0x00, 0x00, 0x00, 0x00})},
        {"USB narrow", [&] { setMode(1, 2); }, frame(0x08, kUs, 0x06, {0x01, 0x03})},
        {"SYNC-AM wide", [&] { setMode(9, 0); }, frame(0x08, kUs, 0x06, {0x0B, 0x01})},
        {"SSB", [&] { setMode(10, 1); }, frame(0x08, kUs, 0x06, {0x05, 0x00})},
        {"our address 224",
         [&] {
             control<QLineEdit>("OurIDEditField")->setText(QStringLiteral("224"));
             control<QLineEdit>("EditRadioID")->setText(QStringLiteral("92"));
             fire("ReqTimer");
         },
         frame(0x5C, 0xE0, 0x03) + frame(0x5C, 0xE0, 0x04)},
    };
    for (const auto& [what, act, wire] : cases) {
        SCOPED_TRACE(what);
        EXPECT_EQ(sent(act).toHex(' '), wire.toHex(' '));
    }
}

TEST_F(WindowTest, ThePopupsFollowTheRadioWithoutSendingSoAChoiceChangesOnlyItself)
{
    buildAndInit();
    // What arrives; the mode and filter pop-ups after it.
    const std::tuple<const char*, QByteArray, const char*, const char*> steps[] = {
        {"reply", frame(kUs, 0x08, 0x04, {0x01, 0x03}), "USB", "Narrow"},
        {"another station's reply", frame(kUs, kRadio, 0x04, {0x03, 0x01}), "USB", "Narrow"},
        {"report", frame(0x00, 0x08, 0x01, {0x0B, 0x02}), "SYNC-AM", "Medium"},
        {"a code no row sends", frame(kUs, 0x08, 0x04, {0x11, 0x07}), "SYNC-AM", "Medium"},
        {"FM, not SSB", frame(kUs, 0x08, 0x04, {0x05}), "FM", "Medium"},
    };
    for (const auto& [what, in, mode, filter] : steps) {
        SCOPED_TRACE(what);
        feed(in);
        EXPECT_EQ(control<QComboBox>("PopupMode")->currentText(), QLatin1String(mode));
        EXPECT_EQ(control<QComboBox>("PopupFilter")->currentText(), QLatin1String(filter));
        EXPECT_EQ(port->writes.join(), QByteArray());
    }
    feed(frame(kUs, 0x08, 0x04, {0x01, 0x01}));
    EXPECT_EQ(sent([&] { control<QComboBox>("PopupFilter")->setCurrentIndex(1); }).toHex(' '),
              frame(0x08, kUs, 0x06, {0x01, 0x02}).toHex(' '));
}

TEST_F(WindowTest, InputThatCannotBeSentIsMarkedAndNothingLeaves)
{
    buildAndInit();
    auto* radio = control<QLineEdit>("EditRadioID");
    auto* our = control<QLineEdit>("OurIDEditField");
    auto* freq = control<QLineEdit>("EditFreq");
    const auto marked = [](QLineEdit* field) {
        return !field->styleSheet().isEmpty() && !field->toolTip().isEmpty();
    };
    auto* setFreq = control<QToolButton>("SetFreq1");
    const auto sendAll = [&] {
        fire("ReqTimer");
        setFreq->click();
        auto* filter = control<QComboBox>("PopupFilter");
        filter->setCurrentIndex(1 - filter->currentIndex());
    };
    // A field, a text it refuses and one it takes, and what would send it.
    const std::tuple<QLineEdit*, const char*, const char*, std::function<void()>> cases[] = {
        {radio, "253", "0", sendAll},
        {radio, "0x94h", "94h", sendAll},
        {our, "300", "234", sendAll},
        {freq, "100000", "99999", [&] { setFreq->click(); }}};
    for (const auto& [field, bad, good, send] : cases) {
        SCOPED_TRACE(bad);
        field->setText(QString::fromLatin1(bad));
        EXPECT_EQ(sent(send), QByteArray());
        EXPECT_TRUE(marked(field));
        EXPECT_FALSE(statusMessage().isEmpty());
        field->setText(QString::fromLatin1(good));
        EXPECT_FALSE(marked(field));
        // Radio ID 0 polls every radio: not marked, but told that none answers.
        EXPECT_EQ(statusMessage(), std::string_view(good) == "0"
                                       ? QString::fromStdString(radio::broadcastPollText().text)
                                       : QString());
    }
    EXPECT_EQ(radio->toolTip(), QStringLiteral("0x94 (148)")) << "the hex form, as radios show it";
    // A field put right has no say over another field's notice any more.
    freq->setText(QStringLiteral("100000"));
    setFreq->click();
    our->setText(QStringLiteral("300"));
    fire("ReqTimer");
    our->setText(QStringLiteral("234"));
    EXPECT_TRUE(marked(freq));
    EXPECT_EQ(statusMessage(), freq->toolTip());
}
