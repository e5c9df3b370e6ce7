// The harness's options: the port, the run's phases, what to open, and the pass criteria.
#pragma once

#include <QString>
#include <optional>

class QCoreApplication;

namespace bench {

struct HarnessOptions {
    QString port;
    QString label = QStringLiteral("run");
    int baud = 9600;
    double warmupSeconds = 2;
    double seconds = 10;
    double settleSeconds = 1;
    double setEverySeconds = 0;
    bool showData = false;
    bool debug = false;
    // Open Tools > Bus Monitor before warm-up.
    bool monitor = false;
    // Open it when the measurement starts and put this many rows in it.
    int monitorFill = 0;
    QString simLog;
    // A bare Qt window with the program's 50 ms timer instead of the program: the baseline.
    bool bare = false;
    // Time the CPU spent in each tick of the window's pump; costs the process a little.
    bool tickCost = false;
    // Pass criteria; unset ones are not judged.
    std::optional<long> maxRssGrowthKb;
    bool expectNextTick = false;
    bool expectAnswers = false;
    bool expectNoWarnings = false;
};

// Exits with a usage message on bad options.
HarnessOptions parseHarnessOptions(const QCoreApplication& app);

} // namespace bench
