// A run's figures, and the report that prints them and judges the pass criteria.
#pragma once

#include "harness_options.h"
#include "process_usage.h"
#include "reply_latency.h"
#include "sim_log.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace bench {

struct RunResult {
    Usage start;
    Usage end;
    long peakRssKb = 0;
    long long bytesReadAtStart = 0;
    long long bytesReadAtEnd = 0;
    long long bytesReadInAll = 0;      // warm-up and settling included
    long long bytesParsed = 0;         // handed by the window to its parser
    std::optional<bool> debugLogExact; // the debug file holds every byte read, in order
    int pollsWritten = 0;
    int setsWritten = 0;
    int setsTyped = 0;
    int ourAddress = 0;
    std::vector<DisplayChange> displayChanges;
    std::vector<double> pollTimes;
    std::vector<double> tickEnds;
    std::optional<std::vector<SimFrame>> simFrames;
    QStringList warnings;
    int jamWarnings = 0;
    int monitorRows = -1; // rows in the Bus Monitor's table; -1 when it was not filled
    std::optional<double> tickMicroseconds; // mean CPU per Timer1 tick, when timed
};

// Prints the figures, one a line with their units, then the judged criteria. False when any
// criterion failed.
bool printReport(const HarnessOptions& options, const RunResult& result);
// The bare window's figures: its CPU only.
void printBareReport(const HarnessOptions& options, const Usage& start, const Usage& end);

} // namespace bench
