// The check's report in words: one plain sentence or two per finding.
#pragma once

#include "check/interface_check.h"

#include <string>
#include <vector>

// A rate of 0 stands for a network port, where no bit rate applies.
namespace check::sentences {

struct RoundTrips {
    Millis minimum = 0;
    Millis median = 0;
    Millis maximum = 0;
};

struct Answers {
    int address = 0;
    int rate = 0;
    int answers = 0;
    int polls = 0;
    RoundTrips times;
    int refused = 0;
    // The round trips can be no finer than the period the port is read at.
    int readPeriodMs = 0;
    std::vector<int> lost; // the polls left unanswered, numbered from 1
};

// "1 poll", "2 polls".
std::string count(int n, const char* one, const char* many);
// "0x94 (148)"; a list as "a, b and c".
std::string addresses(const std::vector<int>& list);
// " at 9600 bit/s", or nothing on a network port.
std::string atRate(int rate);

std::string badAddress(const char* field);
std::string noPort();
std::string opened(const std::string& port, int rate);
std::string openFailed(const std::string& port, platform::OpenError error,
                       const std::string& reason);
// In the main window's words.
std::string lost(const std::string& port, const std::string& reason);
std::string dropped(const std::string& port);
std::string busy(const line::HoldBack& held, Millis waited, bool nothingLeft);
std::string stuck(Millis waited);
std::string settingsChanged();
std::string echo(Echo echo);
std::string answered(const Answers& a);
std::string silent(int address, int rate, int polls);
std::string rateRefused(int rate, const std::string& reason);
std::string found(int rate, int address, const std::vector<int>& others);
std::string beyondRates(int rate, int address, const std::vector<int>& others);
std::string collision(int rate);
std::string unconfirmed(int rate, const std::vector<int>& addresses);
std::string nothing(Echo echo, bool network, Millis deepMsPerRate);
// Rate 0 off a network port: the usual rates in turn.
std::string deepStart(int rate, Millis msPerRate, bool network);
std::string deepSilent(int rate);
std::string deepNothing(Echo echo, bool network);
std::string cancelled();

std::string activityEcho();
std::string activityPoll(int address, int poll, int polls);
std::string activityScan(int rate, int index, int count);
std::string activityDeep(int rate, int address, int last);

} // namespace check::sentences
