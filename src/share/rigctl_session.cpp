// A client's lines carried out command by command, answered as rigctld answers.
#include "share/rigctl_session.h"

#include <array>
#include <utility>

namespace share {

namespace {

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
    const Step done = plan_.front();
    plan_.pop_front();
    action_.reset();
    if (outcome == Outcome::Rejected && done.ifRefused == Step::IfRefused::Retry && !replanned_) {
        // The scheduler has taken note of what the radio lacks; the new plan goes without it.
        replanned_ = true;
        const Request& request = *current_;
        if (const auto code = start(planFor(*request.command->ours, request.args, radio_))) {
            next(*code);
        }
        return;
    }
    if (outcome == Outcome::Rejected && done.ifRefused != Step::IfRefused::Carry) {
        refused_ = true;
        std::erase_if(plan_, [](const Step& s) { return !s.restores; });
    } else if (outcome != Outcome::Ok && outcome != Outcome::Rejected) {
        plan_.clear();
        next(code(outcome));
        return;
    }
    if (!plan_.empty()) {
        action_ = plan_.front().action;
        return;
    }
    const CommandInfo& command = *current_->command;
    next(refused_ ? Rprt::Rejected : command.reads ? answer(*command.ours) : Rprt::Ok);
}

void RigctlSession::next(Rprt code)
{
    end(*current_->command, code);
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
    current_ = request;
    if (const auto code = carryOut(request)) {
        end(command, *code);
        current_.reset();
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
    switch (*info.ours) {
    case Command::GetVfo:
        value("VFO", radio_.onVfoB() ? "VFOB" : "VFOA");
        return Rprt::Ok;
    case Command::ChkVfo:
        value("ChkVFO", "0", true);
        return Rprt::Ok;
    case Command::GetLockMode:
        value("Locked", "0", true);
        return Rprt::Ok;
    case Command::DumpState:
        output_ += dumpState(radio_);
        return Rprt::Ok;
    case Command::DumpCaps:
        output_ += dumpCaps(radio_);
        return Rprt::Ok;
    default:
        break;
    }
    replanned_ = false;
    refused_ = false;
    return start(planFor(*info.ours, request.args, radio_));
}

std::optional<Rprt> RigctlSession::start(Plan plan)
{
    if (plan.steps.empty()) {
        return plan.code == Rprt::Ok && current_->command->reads ? answer(*current_->command->ours)
                                                                 : plan.code;
    }
    plan_ = std::move(plan.steps);
    action_ = plan_.front().action;
    return std::nullopt;
}

void RigctlSession::end(const CommandInfo& command, Rprt code)
{
    // A read counts whether the radio's state or a frame answered it.
    if (command.reads) {
        ++reads_.asked;
        reads_.answered += code == Rprt::Ok ? 1 : 0;
    }
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
