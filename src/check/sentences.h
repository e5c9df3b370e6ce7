#pragma once

#include "check/interface_check.h"

#include <string>

// The check's report, one plain sentence or two per finding.
namespace check::sentences {

struct RoundTrips {
    Millis minimum = 0;
    Millis median = 0;
    Millis maximum = 0;
};

std::string badAddress(const char* field);
std::string noPort();
// Rate 0: a network port, whose rate is set at the far end.
std::string opened(const std::string& port, int rate);
std::string openFailed(const std::string& port, platform::OpenError error,
                       const std::string& reason);
std::string echo(Echo echo);
// The round trips can be no finer than the period the port is read at.
std::string answered(int address, int rate, int answers, int polls, const RoundTrips& times,
                     int refused, int readPeriodMs);
std::string silent(int address, int rate, int polls, bool network);
std::string networkPort();
std::string rateRefused(int rate, const std::string& reason);
std::string found(int rate, int address);
std::string nothing(Echo echo, bool network);
std::string cancelled();

} // namespace check::sentences
