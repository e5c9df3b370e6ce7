// "Find All Radios" step by step, on a bus that echoes every probe.
#include "window_fixture.h"

#include <set>

namespace {

constexpr int kUs = 0xEA;

// What a whole search did, as the operator and the bus saw it.
struct SearchRun {
    QList<int> probed;
    int firstProbeStep = 0;
    int endStep = 0;
    QString lastProgress;
};

class WindowSearch : public WindowTest {
protected:
    bool searching() const { return !control<QPushButton>("FindRadiosButton")->isEnabled(); }
    QString dataDisplay() const { return control<QPlainTextEdit>("EditField1")->toPlainText(); }

    // Radios at these addresses answer their probe before the next step; a stray reply to
    // us arrives in every second that sends no probe: the waiting steps and the codes skipped.
    SearchRun runSearch(const std::set<int>& radios)
    {
        SearchRun run;
        control<QPushButton>("FindRadiosButton")->click();
        for (int step = 1; step <= 300 && searching(); ++step) {
            const QByteArray out = sent([this] {
                fire("ReqTimer");
                fire("FindRadiosTimer");
            });
            if (step == 1) {
                feed(frame(kUs, 0x08, 0x03, {0x00, 0x00, 0x00, 0x07, 0x00}));
            }
            if (!out.isEmpty()) {
                const int to = static_cast<unsigned char>(out.at(2));
                EXPECT_EQ(out, frame(to, kUs, 0x03)) << "step " << step;
                run.probed.append(to);
                run.firstProbeStep = run.firstProbeStep ? run.firstProbeStep : step;
                feed(out);
                if (radios.contains(to)) {
                    feed(frame(kUs, to, 0x03, {0x00, 0x40, 0x07, 0x14, 0x00}));
                }
            }
            run.endStep = step;
        }
        run.lastProgress = text("StaticFindRadios");
        return run;
    }
};

} // namespace

TEST_F(WindowSearch, ProbesEveryAddressOnceAStepAndListsTheRadiosThatAnswer)
{
    buildAndInit();
    control<QPlainTextEdit>("EditField1")->setPlainText(QStringLiteral("FE_FE_"));
    const SearchRun run = runSearch({4, 92, kUs, 255});

    QList<int> plain;
    for (int address = 0; address <= 255; ++address) {
        if (address < 0xFC || address > 0xFE) {
            plain.append(address);
        }
    }
    EXPECT_EQ(run.probed, plain) << "the codes FC to FE are never put on the bus";
    EXPECT_EQ(run.firstProbeStep, 3);
    EXPECT_EQ(run.endStep, 259);
    EXPECT_EQ(run.lastProgress, QStringLiteral("Looking for radio 255"));
    // Neither our own probe heard back nor a reply while no probe was out is a radio; the found
    // lines follow whatever the data display held.
    EXPECT_EQ(dataDisplay(),
              QStringLiteral("FE_FE_ Found radio at address 4\n Found radio at address 92\n"
                             " Found radio at address 255\n"));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("-")) << "replies are not shown while searching";
    EXPECT_FALSE(control<QTimer>("FindRadiosTimer")->isActive());

    EXPECT_EQ(sent([this] { fire("ReqTimer"); }), frame(0x08, kUs, 0x03) + frame(0x08, kUs, 0x04))
        << "polling again";
    feed(frame(kUs, 0x08, 0x03, {0x00, 0x40, 0x07, 0x14, 0x00}));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
}

TEST_F(WindowSearch, WithoutAPortRunsItsFullCourseAndLeavesOnlyThatNotice)
{
    build(QList<platform::PortEntry>{}).init();
    EXPECT_EQ(runSearch({}).endStep, 259);
    EXPECT_EQ(dataDisplay(), QString());
    EXPECT_FALSE(statusMessage().isEmpty());
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        EXPECT_TRUE(field->styleSheet().isEmpty()) << field->objectName().toStdString();
    }
    EXPECT_TRUE(control<QPushButton>("FindRadiosButton")->isEnabled());
}
