// civ-sim's start: its options read, its signals set, and the simulator run on its line.
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
volatile std::sig_atomic_t powerToggles = 0;

extern "C" void onStopSignal(int)
{
    stopRequested = 1;
}

extern "C" void onPowerSignal(int)
{
    powerToggles = powerToggles + 1;
}

// Blocks the handled signals outside the wait, so one arriving just before it is not lost.
sigset_t installSignals()
{
    sigset_t handled;
    sigemptyset(&handled);
    for (const int signal : {SIGINT, SIGTERM, SIGUSR1}) {
        sigaddset(&handled, signal);
    }
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &handled, &waitMask);

    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGUSR1}) {
        sigdelset(&waitMask, signal);
        action.sa_handler = signal == SIGUSR1 ? onPowerSignal : onStopSignal;
        sigaction(signal, &action, nullptr);
    }
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

    const sigset_t waitMask = installSignals();
    try {
        const auto transport = civsim::openTransport(parsed.options);
        std::cout << transport->address() << std::endl;
        civsim::Simulator simulator(parsed.options, *transport);
        return simulator.run(stopRequested, powerToggles, waitMask);
    } catch (const std::exception& e) {
        std::cerr << "civ-sim: " << e.what() << '\n';
        return 1;
    }
}
