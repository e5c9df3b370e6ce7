// A client's lines carried out command by command, answered as rigctld answers.
#include "share/rigctl_session.h"

#include "share/rigctl_modes.h"

#include <array>
#include <utility>

namespace share {

namespace {

constexpr std::int64_t kMaxHz4 = 99'999'999;
constexpr std::int64_t kMaxHz5 = 9'999'999'999;

Rprt code(Outcome outcome)
{
    // In the order of Outcome's values.
    constexpr std::array kCodes{Rprt::Ok,      Rprt::Rejected, Rprt::Timeout,
                                Rprt::BusBusy, Rprt::Io,       Rprt::Config};
    return kCodes[static_cast<std::size_t>(outcome)];
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
    while (!action_ && !quitting_) {
        const ReadResult read = readRequest(input_);
        input_.erase(0, read.consumed);
        if (read.request) {
            begin(*read.request);
            continue;
        }
        // A command whose arguments go on past a line's worth is given up, like an overlong line.
        if (input_.size() > kMaxLine) {
            input_.clear();
            output_ += rprt(Rprt::Invalid);
        }
        if (waiting_.empty()) {
            return;
        }
        Entry entry = std::move(waiting_.front());
        waiting_.pop_front();
        if (entry.error == Rprt::Ok) {
            input_ += entry.line + '\n';
            continue;
        }
        // What was begun before a line that could not be kept goes with it.
        input_.clear();
        for (int i = 0; i < entry.count; ++i) {
            output_ += rprt(entry.error);
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
    const CommandInfo& command = *current_->command;
    if (done.isSet() || outcome != Outcome::Ok) {
        end(command, code(outcome));
    } else {
        readTried_ = true;
        end(command, carryOut(*current_).value_or(Rprt::Timeout));
    }
    current_.reset();
    run();
}

std::string RigctlSession::takeOutput()
{
    return std::exchange(output_, {});
}

void RigctlSession::begin(const Request& request)
{
    extended_ = extended_ || request.extended;
    separator_ = request.separator.value_or(separator_);
    if (request.quit) {
        output_ += rprt(Rprt::Ok);
        quitting_ = true;
        return;
    }
    if (!request.command) {
        return;
    }
    const CommandInfo& command = *request.command;
    if (extended_ && command.ours != Command::ChkVfo) {
        output_ += std::string(command.name) + ":";
        for (const std::string& arg : request.args) {
            output_ += " " + arg;
        }
        output_ += separator_;
    }
    readTried_ = false;
    if (const auto code = carryOut(request)) {
        end(command, *code);
    } else {
        current_ = request;
    }
}

std::optional<Rprt> RigctlSession::carryOut(const Request& request)
{
    const CommandInfo& info = *request.command;
    if (!info.ours) {
        return Rprt::NotImplemented;
    }
    if (request.args.size() != info.args) {
        return Rprt::Invalid;
    }
    const std::vector<std::string>& args = request.args;
    switch (*info.ours) {
    case Command::SetFreq:
    case Command::SetMode:
    case Command::SetPtt:
        return set(*info.ours, args);
    case Command::GetFreq:
    case Command::GetMode:
    case Command::GetPtt:
        return read(*info.ours);
    case Command::GetVfo:
        value("VFO", "VFOA");
        return Rprt::Ok;
    case Command::SetVfo:
        return vfoChoice(args[0]);
    case Command::GetSplitVfo:
        value("Split", "0");
        value("TX VFO", "VFOA");
        return Rprt::Ok;
    case Command::SetSplitVfo: {
        const Rprt split = args[0] == "0"   ? Rprt::Ok
                           : args[0] == "1" ? Rprt::Unavailable
                                            : Rprt::Invalid;
        return split == Rprt::Ok ? vfoChoice(args[1]) : split;
    }
    case Command::GetPowerstat:
        value("Power Status", "1", true);
        return Rprt::Ok;
    case Command::ChkVfo:
        value("ChkVFO", "0", true);
        return Rprt::Ok;
    case Command::GetLockMode:
        value("Locked", "0", true);
        return Rprt::Ok;
    case Command::DumpState:
        output_ += dumpState();
        return Rprt::Ok;
    case Command::DumpCaps:
        output_ += dumpCaps();
        return Rprt::Ok;
    }
    return Rprt::NotImplemented;
}

std::optional<Rprt> RigctlSession::read(Command command)
{
    reads_.asked += readTried_ ? 0 : 1;
    const std::optional<Rprt> code = readKnown(command);
    reads_.answered += code ? 1 : 0;
    return code;
}

std::optional<Rprt> RigctlSession::readKnown(Command command)
{
    using Kind = Action::Kind;
    Kind kind = Kind::ReadPtt;
    if (command == Command::GetFreq) {
        kind = Kind::ReadFrequency;
        if (const auto& f = radio_.frequency()) {
            value("Frequency", std::to_string(f->value));
            return Rprt::Ok;
        }
    } else if (command == Command::GetMode) {
        kind = Kind::ReadMode;
        if (const auto& m = radio_.mode()) {
            value("Mode", std::string(hamlibModeName(m->value.code).value_or("None")));
            value("Passband", std::to_string(passbandHz(m->value.code, m->value.filter)));
            return Rprt::Ok;
        }
    } else if (const auto& p = radio_.ptt()) {
        value("PTT", p->value ? "1" : "0");
        return Rprt::Ok;
    }
    // Asked the radio once already: it did not tell.
    if (!readTried_) {
        action_ = Action::of(kind);
    }
    return std::nullopt;
}

std::optional<Rprt> RigctlSession::set(Command command, const std::vector<std::string>& args)
{
    using Kind = Action::Kind;
    Action wanted;
    if (command == Command::SetFreq) {
        const auto hz = parseHz(args[0]);
        const std::int64_t highest = radio_.frequencyBytes() == 4 ? kMaxHz4 : kMaxHz5;
        if (!hz || *hz <= 0 || *hz > highest) {
            return Rprt::Invalid;
        }
        wanted = Action::of(Kind::SetFrequency);
        wanted.hz = *hz;
    } else if (command == Command::SetMode) {
        const auto mode = civModeCode(args[0]);
        const auto passband = parseInt(args[1]);
        FilterChoice choice;
        choice.valid = false;
        if (mode && passband) {
            choice = filterFor(*mode, *passband);
        }
        if (!choice.valid) {
            return Rprt::Invalid;
        }
        wanted = Action::of(Kind::SetMode);
        wanted.mode = *mode;
        wanted.filter = choice.filter;
    } else {
        const auto ptt = parseInt(args[0]);
        if (!ptt || *ptt < 0 || *ptt > 3) {
            return Rprt::Invalid;
        }
        wanted = Action::of(Kind::SetPtt);
        wanted.ptt = *ptt != 0;
    }
    action_ = wanted;
    return std::nullopt;
}

void RigctlSession::end(const CommandInfo& command, Rprt code)
{
    const bool report =
        code != Rprt::Ok || (command.ours != Command::ChkVfo && (extended_ || !command.reads));
    if (report) {
        output_ += rprt(code);
    }
    // A report ends the extended protocol; chk_vfo, which has none, leaves it on.
    if (report || code != Rprt::Ok) {
        extended_ = false;
        separator_ = '\n';
    }
    if (separator_ != '\n') {
        output_ += '\n';
    }
}

void RigctlSession::value(std::string_view key, const std::string& text, bool endsLine)
{
    if (extended_) {
        output_ += std::string(key) + ": ";
    }
    output_ += text + (endsLine ? '\n' : separator_);
}

} // namespace share
