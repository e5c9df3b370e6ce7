#include "options.h"
#include "simulator.h"
#include "transport.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void onStopSignal(int)
{
    stopRequested = 1;
}

// Blocks the stop signals outside the wait, so one arriving just before it is not lost.
sigset_t installStopSignals()
{
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);

    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return waitMask;
}

} // namespace

int main(int argc, char** argv)
{
    using civsim::ParseResult;

    const ParseResult parsed =
        civsim::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    switch (parsed.action) {
    case ParseResult::Action::Help:
        std::cout << civsim::helpText();
        return 0;
    case ParseResult::Action::Version:
        std::cout << "civ-sim " << CIV_SIM_VERSION << '\n';
        return 0;
    case ParseResult::Action::Error:
        std::cerr << "civ-sim: " << parsed.error << '\n';
        return 2;
    case ParseResult::Action::Run:
        break;
    }

    const sigset_t waitMask = installStopSignals();
    try {
        const auto transport = civsim::openTransport(parsed.options);
        std::cout << transport->address() << std::endl;
        civsim::Simulator simulator(parsed.options, *transport);
        return simulator.run(stopRequested, waitMask);
    } catch (const std::exception& e) {
        std::cerr << "civ-sim: " << e.what() << '\n';
        return 1;
    }
}
