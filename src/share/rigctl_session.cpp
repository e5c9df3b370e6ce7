#include "share/rigctl_session.h"

#include "share/rigctl_modes.h"

#include <utility>

namespace share {

namespace {

constexpr std::int64_t kMaxHz4 = 99'999'999;
constexpr std::int64_t kMaxHz5 = 9'999'999'999;

Rprt code(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Ok:
        return Rprt::Ok;
    case Outcome::Rejected:
        return Rprt::Rejected;
    case Outcome::Timeout:
        return Rprt::Timeout;
    case Outcome::Busy:
        return Rprt::BusBusy;
    case Outcome::Dropped:
        return Rprt::Io;
    case Outcome::NotConfigured:
        return Rprt::Config;
    }
    return Rprt::Io;
}

std::string rprt(Rprt code)
{
    return "RPRT " + std::to_string(static_cast<int>(code)) + "\n";
}

} // namespace

RigctlSession::RigctlSession(const RadioState& radio)
    : radio_(radio)
{}

void RigctlSession::receive(std::string_view bytes)
{
    for (const char c : bytes) {
        if (quitting_) {
            return;
        }
        if (c == '\n') {
            hold(skipping_ ? Entry{{}, Rprt::Invalid} : Entry{std::move(partial_)});
            partial_.clear();
            skipping_ = false;
        } else if (partial_.size() >= kMaxLine) {
            skipping_ = true;
            partial_.clear();
        } else if (!skipping_) {
            partial_ += c;
        }
    }
}

void RigctlSession::hold(Entry entry)
{
    if (entry.error == Rprt::Ok && waiting_.size() >= kMaxWaiting) {
        entry = {{}, Rprt::BusBusy};
    }
    if (entry.error != Rprt::Ok && !waiting_.empty() && waiting_.back().error != Rprt::Ok &&
        (waiting_.back().error == entry.error || waiting_.size() > kMaxWaiting)) {
        ++waiting_.back().count;
    } else {
        waiting_.push_back(std::move(entry));
    }
    run();
}

void RigctlSession::run()
{
    while (!action_ && !quitting_ && !waiting_.empty()) {
        Entry entry = std::move(waiting_.front());
        waiting_.pop_front();
        if (entry.error != Rprt::Ok) {
            for (int i = 0; i < entry.count; ++i) {
                output_ += rprt(entry.error);
            }
            continue;
        }
        if (auto parsed = parseLine(entry.line)) {
            readTried_ = false;
            if (!execute(*parsed)) {
                current_ = std::move(parsed);
            }
        }
    }
}

void RigctlSession::finish(Outcome outcome)
{
    if (!action_ || !current_) {
        return;
    }
    const Action done = *action_;
    action_.reset();
    if (done.isSet()) {
        answer(*current_, code(outcome));
    } else if (outcome != Outcome::Ok) {
        answer(*current_, code(outcome));
    } else {
        readTried_ = true;
        if (!execute(*current_)) {
            answer(*current_, Rprt::Timeout);
        }
    }
    current_.reset();
    run();
}

std::string RigctlSession::takeOutput()
{
    return std::exchange(output_, {});
}

bool RigctlSession::execute(const ParsedLine& line)
{
    if (!line.command) {
        answer(line, Rprt::NotImplemented);
        return true;
    }
    if (line.wrongCount) {
        answer(line, Rprt::Invalid);
        return true;
    }
    switch (*line.command) {
    case Command::SetFreq:
    case Command::SetMode:
    case Command::SetPtt:
        return set(line);
    case Command::GetFreq:
    case Command::GetMode:
    case Command::GetPtt:
        return read(line);
    case Command::GetVfo:
        values(line, {{"VFO", "VFOA"}});
        return true;
    case Command::SetVfo:
        answer(line, vfoChoice(line.args[0]));
        return true;
    case Command::GetSplitVfo:
        values(line, {{"Split", "0"}, {"TX VFO", "VFOA"}});
        return true;
    case Command::SetSplitVfo: {
        const Rprt split = line.args[0] == "0"   ? Rprt::Ok
                           : line.args[0] == "1" ? Rprt::Unavailable
                                                 : Rprt::Invalid;
        answer(line, split == Rprt::Ok ? vfoChoice(line.args[1]) : split);
        return true;
    }
    case Command::GetPowerstat:
        values(line, {{"Power Status", "1"}});
        return true;
    case Command::ChkVfo:
        output_ += line.separator ? "ChkVFO: 0\n" : "0\n";
        return true;
    case Command::DumpState:
        if (line.separator) {
            output_ += "dump_state:" + std::string(1, *line.separator);
        }
        output_ += dumpState();
        if (line.separator) {
            output_ += rprt(Rprt::Ok);
        }
        return true;
    case Command::GetLockMode:
        // As Hamlib's own server: the value, then a report even in the plain protocol.
        values(line, {{"Locked", "0"}});
        if (!line.separator) {
            output_ += rprt(Rprt::Ok);
        }
        return true;
    case Command::Quit:
        output_ += rprt(Rprt::Ok);
        quitting_ = true;
        return true;
    }
    return true;
}

bool RigctlSession::read(const ParsedLine& line)
{
    using Kind = Action::Kind;
    Kind kind = Kind::ReadPtt;
    if (*line.command == Command::GetFreq) {
        kind = Kind::ReadFrequency;
        if (const auto& f = radio_.frequency()) {
            values(line, {{"Frequency", std::to_string(f->value)}});
            return true;
        }
    } else if (*line.command == Command::GetMode) {
        kind = Kind::ReadMode;
        if (const auto& m = radio_.mode()) {
            values(line,
                   {{"Mode", std::string(hamlibModeName(m->value.code).value_or("None"))},
                    {"Passband", std::to_string(passbandHz(m->value.code, m->value.filter))}});
            return true;
        }
    } else if (const auto& p = radio_.ptt()) {
        values(line, {{"PTT", p->value ? "1" : "0"}});
        return true;
    }
    // Asked the radio once already: it did not tell.
    if (!readTried_) {
        action_ = Action::of(kind);
    }
    return false;
}

bool RigctlSession::set(const ParsedLine& line)
{
    using Kind = Action::Kind;
    Action wanted;
    if (*line.command == Command::SetFreq) {
        const auto hz = parseHz(line.args[0]);
        const std::int64_t highest = radio_.frequencyBytes() == 4 ? kMaxHz4 : kMaxHz5;
        if (!hz || *hz <= 0 || *hz > highest) {
            answer(line, Rprt::Invalid);
            return true;
        }
        wanted = Action::of(Kind::SetFrequency);
        wanted.hz = *hz;
    } else if (*line.command == Command::SetMode) {
        const auto mode = civModeCode(line.args[0]);
        const auto passband = parseInt(line.args[1]);
        FilterChoice choice;
        choice.valid = false;
        if (mode && passband) {
            choice = filterFor(*mode, *passband);
        }
        if (!choice.valid) {
            answer(line, Rprt::Invalid);
            return true;
        }
        wanted = Action::of(Kind::SetMode);
        wanted.mode = *mode;
        wanted.filter = choice.filter;
    } else {
        const auto ptt = parseInt(line.args[0]);
        if (!ptt || *ptt < 0 || *ptt > 3) {
            answer(line, Rprt::Invalid);
            return true;
        }
        wanted = Action::of(Kind::SetPtt);
        wanted.ptt = *ptt != 0;
    }
    action_ = wanted;
    return false;
}

void RigctlSession::answer(const ParsedLine& line, Rprt code)
{
    if (line.separator && !line.longName.empty()) {
        std::string head = line.longName + ":";
        for (const std::string& arg : line.args) {
            head += " " + arg;
        }
        output_ += head + *line.separator;
    }
    output_ += rprt(code);
}

void RigctlSession::values(const ParsedLine& line,
                           std::initializer_list<std::pair<std::string_view, std::string>> kv)
{
    if (!line.separator) {
        for (const auto& [key, value] : kv) {
            output_ += value + "\n";
        }
        return;
    }
    const char sep = *line.separator;
    output_ += line.longName + ":" + sep;
    for (const auto& [key, value] : kv) {
        output_ += std::string(key) + ": " + value + sep;
    }
    output_ += rprt(Rprt::Ok);
}

} // namespace share
