#include "window_fixture.h"

#include <set>
#include <utility>

namespace {

constexpr int kOur = 0xEA;

QByteArray probe(int to)
{
    return bytes({0xFE, 0xFE, to, kOur, 0x03, 0xFD});
}

QByteArray frequencyReply(int from, int to = kOur)
{
    return bytes({0xFE, 0xFE, to, from, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});
}

// What a whole search did, as seen from the window.
struct SearchRun {
    QList<std::pair<int, int>> probes; // (step, address)
    QStringList progress;              // progress text after each step
    int endStep = 0;
};

class WindowSearch : public WindowTest {
protected:
    void press() { control<QPushButton>("FindRadiosButton")->click(); }
    bool searching() const { return !control<QPushButton>("FindRadiosButton")->isEnabled(); }
    QString dataDisplay() const { return control<QPlainTextEdit>("EditField1")->toPlainText(); }

    // A search on a bus that echoes: each probe comes back to us, followed by the answer of a
    // radio at the probed address, before the next step.
    SearchRun runSearch(const std::set<int>& radios)
    {
        SearchRun run;
        press();
        for (int step = 1; step <= 300 && run.endStep == 0; ++step) {
            EXPECT_TRUE(searching()) << step;
            window->FindRadiosTimer_Action();
            const QByteArray out = queuedBytes();
            window->transmitQueue.reset();
            run.progress.append(text("StaticFindRadios"));
            if (!out.isEmpty()) {
                const int to = static_cast<unsigned char>(out.at(2));
                EXPECT_EQ(out, probe(to)) << step;
                run.probes.append({step, to});
                feed(out);
                if (radios.contains(to)) {
                    feed(frequencyReply(to));
                }
            }
            if (!searching()) {
                run.endStep = step;
            } else {
                window->ReqTimer_Action();
                EXPECT_EQ(window->transmitQueue.queued(), 0) << "polled during step " << step;
            }
        }
        return run;
    }
};

} // namespace

TEST_F(WindowSearch, ProbesEachAddressButTheReservedCodesOneStepApartThenPollsAgain)
{
    buildAndInit();
    auto* timer = control<QTimer>("FindRadiosTimer");
    const SearchRun run = runSearch({});

    QList<std::pair<int, int>> probes;
    QStringList progress = {QStringLiteral("-"), QStringLiteral("-")};
    for (int address = 0; address <= 255; ++address) {
        progress.append(QStringLiteral("Looking for radio %1").arg(address));
        if (address < 252 || address > 254) {
            probes.append({address + 3, address});
        }
    }
    progress.append(progress.last());
    EXPECT_EQ(run.probes, probes);
    EXPECT_EQ(run.progress, progress);
    EXPECT_EQ(run.endStep, 259);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(dataDisplay(), QString());

    window->ReqTimer_Action();
    EXPECT_EQ(queuedBytes(),
              bytes({0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD, 0xFE, 0xFE, 0x08, 0xEA, 0x04, 0xFD}));
}

TEST_F(WindowSearch, ButtonStartsTheOneSecondStepTimer)
{
    buildAndInit();
    auto* timer = control<QTimer>("FindRadiosTimer");
    press();
    EXPECT_TRUE(searching());
    EXPECT_TRUE(timer->isActive());
    EXPECT_FALSE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 1000);
}

TEST_F(WindowSearch, AnsweringRadiosAreFoundButNotOurOwnEcho)
{
    buildAndInit();
    // A "radio" at our own address is only our probe heard twice.
    const SearchRun run = runSearch({4, 92, kOur, 255});
    EXPECT_EQ(run.endStep, 259);
    EXPECT_EQ(dataDisplay(),
              QStringLiteral(" Found radio at address 4\n Found radio at address 92\n"
                             " Found radio at address 255\n"));
}

TEST_F(WindowSearch, ASecondSearchRepeatsTheFirst)
{
    buildAndInit();
    const SearchRun first = runSearch({7});
    const SearchRun second = runSearch({7});
    EXPECT_EQ(second.probes, first.probes);
    EXPECT_EQ(second.endStep, first.endStep);
    // The label keeps the last address through the two waiting steps.
    EXPECT_EQ(second.progress.mid(2), first.progress.mid(2));
    EXPECT_EQ(second.progress.first(), QStringLiteral("Looking for radio 255"));
    EXPECT_EQ(dataDisplay(),
              QStringLiteral(" Found radio at address 7\n Found radio at address 7\n"));
}

TEST_F(WindowSearch, FoundLineFollowsTheDataDisplayAtTheNextStep)
{
    buildAndInit();
    auto* display = control<QPlainTextEdit>("EditField1");
    display->setPlainText(QStringLiteral("FE_FE_"));
    press();
    for (int step = 1; step <= 95; ++step) {
        window->FindRadiosTimer_Action();
    }
    ASSERT_EQ(text("StaticFindRadios"), QStringLiteral("Looking for radio 92"));
    feed(frequencyReply(92));
    feed(bytes({0xFE, 0xFE, kOur, 92, 0x04, 0x03, 0x02, 0xFD}));
    EXPECT_EQ(dataDisplay(), QStringLiteral("FE_FE_")) << "reported only at the next step";
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("-"));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("Label:"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("Label:"));

    window->FindRadiosTimer_Action();
    EXPECT_EQ(dataDisplay(), QStringLiteral("FE_FE_ Found radio at address 92\n"));

    // A frame between other stations is no answer.
    feed(frequencyReply(93, 0x08));
    window->FindRadiosTimer_Action();
    EXPECT_EQ(dataDisplay(), QStringLiteral("FE_FE_ Found radio at address 92\n"));
    EXPECT_EQ(text("StaticFindRadios"), QStringLiteral("Looking for radio 94"));
}

TEST_F(WindowSearch, RepliesReachTheDisplaysAgainOnceTheSearchEnds)
{
    buildAndInit();
    runSearch({});
    feed(frequencyReply(8));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
}
