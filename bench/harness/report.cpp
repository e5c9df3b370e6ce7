// The run's report: one figure a line with its unit, then each criterion passed or failed.
#include "report.h"

#include <algorithm>
#include <cstdio>

namespace bench {

namespace {

class Printer {
public:
    explicit Printer(const QString& label)
        : label_(label.toStdString())
    {}

    template <class... Args> void line(const char* format, Args... args) const
    {
        std::printf("%s ", label_.c_str());
        std::printf(format, args...);
        std::printf("\n");
    }

    // Prints the verdict and remembers a failure.
    template <class... Args> void judge(bool pass, const char* format, Args... args)
    {
        passed_ = passed_ && pass;
        std::printf("%s %s: ", label_.c_str(), pass ? "PASS" : "FAIL");
        std::printf(format, args...);
        std::printf("\n");
    }

    bool passed() const { return passed_; }

private:
    std::string label_;
    bool passed_ = true;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double maximum(const std::vector<double>& v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

void printLatencies(Printer& out, const HarnessOptions& options, const RunResult& r)
{
    const Latencies l =
        replyLatencies(*r.simFrames, r.ourAddress, r.displayChanges, r.pollTimes, r.tickEnds);
    out.line("frequency display changes: %zu (%d not explained by a logged reply)",
             r.displayChanges.size(), l.unmatched);
    if (!l.replyToDisplay.empty()) {
        out.line("reply written to display changed: median %.1f ms, max %.1f ms over %zu",
                 median(l.replyToDisplay), maximum(l.replyToDisplay), l.replyToDisplay.size());
    }
    if (!l.pollToDisplay.empty()) {
        out.line("poll written to display changed: median %.1f ms, max %.1f ms over %zu",
                 median(l.pollToDisplay), maximum(l.pollToDisplay), l.pollToDisplay.size());
    }
    if (options.expectNextTick) {
        const int missed = l.ticksMissed.empty()
                               ? 0
                               : *std::max_element(l.ticksMissed.begin(), l.ticksMissed.end());
        out.judge(!l.ticksMissed.empty() && l.unmatched == 0 && missed == 0,
                  "display changed on the first Timer1 tick after each reply (%zu changes, at "
                  "most %d ticks late)",
                  r.displayChanges.size(), missed);
    }
}

void printBus(Printer& out, const HarnessOptions& options, const RunResult& r)
{
    const BusTally t = tally(*r.simFrames, r.ourAddress);
    out.line("polls sent: %d (written by the program), %d (received by civ-sim)", r.pollsWritten,
             t.pollsReceived);
    out.line("polls answered: %d", t.pollReplies);
    out.line("sets typed: %d, sent: %d, received by civ-sim: %d", r.setsTyped, r.setsWritten,
             t.setsReceived);
    out.line("sets acknowledged: %d (refused: %d)", t.setsAcked, t.setsRefused);
    if (options.expectAnswers) {
        out.judge(r.pollsWritten > 0 && t.pollsReceived == r.pollsWritten &&
                      t.pollReplies == r.pollsWritten && t.setsAcked == r.setsWritten,
                  "every poll and set answered (%d/%d polls, %d/%d sets)", t.pollReplies,
                  r.pollsWritten, t.setsAcked, r.setsWritten);
    }
}

} // namespace

bool printReport(const HarnessOptions& options, const RunResult& r)
{
    Printer out(options.label);
    const long growth = r.end.rssKb - r.start.rssKb;
    out.line("cpu: %.2f %% of one core (%.2f s CPU in %.1f s)", cpuPercent(r.start, r.end),
             r.end.cpuSeconds - r.start.cpuSeconds, wallSeconds(r.start, r.end));
    out.line("received: %.0f B/s (%lld bytes)",
             static_cast<double>(r.bytesReadAtEnd - r.bytesReadAtStart) /
                 wallSeconds(r.start, r.end),
             r.bytesReadAtEnd - r.bytesReadAtStart);
    out.line("rss at start: %ld kB", r.start.rssKb);
    out.line("rss at end: %ld kB", r.end.rssKb);
    out.line("rss growth: %ld kB", growth);
    out.line("rss peak: %ld kB", r.peakRssKb);
    if (r.tickMicroseconds) {
        out.line("cpu per tick: %.1f us (mean)", *r.tickMicroseconds);
    }
    if (r.monitorRows >= 0) {
        out.line("monitor rows: %d", r.monitorRows);
    }
    if (r.simFrames) {
        printBus(out, options, r);
        printLatencies(out, options, r);
    }
    out.line("warnings: %lld (jam reports apart: %d)", static_cast<long long>(r.warnings.size()),
             r.jamWarnings);
    for (qsizetype i = 0; i < std::min<qsizetype>(r.warnings.size(), 5); ++i) {
        out.line("warning: %s", qPrintable(r.warnings[i]));
    }
    // A filled Bus Monitor was handed made-up traffic, which no port read.
    if (options.monitorFill == 0) {
        out.judge(r.bytesParsed == r.bytesReadInAll, "every byte read was parsed (%lld of %lld)",
                  r.bytesParsed, r.bytesReadInAll);
    }
    if (r.debugLogExact) {
        out.judge(*r.debugLogExact, "DEBUG.TXT holds every byte read, in order (%lld bytes)",
                  r.bytesReadInAll);
    }
    if (options.maxRssGrowthKb) {
        out.judge(growth <= *options.maxRssGrowthKb, "rss growth after warm-up %ld kB (limit %ld)",
                  growth, *options.maxRssGrowthKb);
    }
    if (options.expectNoWarnings) {
        out.judge(r.warnings.isEmpty(), "no warnings but jam reports (%lld)",
                  static_cast<long long>(r.warnings.size()));
    }
    return out.passed();
}

void printBareReport(const HarnessOptions& options, const Usage& start, const Usage& end)
{
    Printer out(options.label);
    out.line("cpu: %.2f %% of one core (%.2f s CPU in %.1f s)", cpuPercent(start, end),
             end.cpuSeconds - start.cpuSeconds, wallSeconds(start, end));
}

} // namespace bench
