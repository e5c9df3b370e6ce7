// A network client's session: its commands answered, and the actions they need of the radio.
#pragma once

#include "share/rigctl_commands.h"
#include "share/rigctl_radio_state.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace share {

// What a client's command needs of the radio before it can be answered; "Other" acts on the
// VFO not selected.
struct Action {
    enum class Kind {
        ReadFrequency,
        ReadMode,
        ReadPtt,
        ReadData,
        ReadSplit,
        ReadOtherFrequency,
        ReadOtherMode,
        SetFrequency,
        SetMode,
        SetPtt,
        SetData,
        SetSplit,
        SelectVfo,
        SetOtherFrequency,
        SetOtherMode,
    };

    Kind kind = Kind::ReadFrequency;
    std::int64_t hz = 0;
    int mode = 0;
    std::optional<int> filter; // nothing: the radio keeps its filter
    bool ptt = false;
    bool on = false; // data mode, split, VFO B

    static Action of(Kind kind)
    {
        Action a;
        a.kind = kind;
        return a;
    }
    bool isSet() const { return kind >= Kind::SetFrequency; }
    friend bool operator==(const Action&, const Action&) = default;
};

// How the radio took an action.
enum class Outcome { Ok, Rejected, Timeout, Busy, Dropped, NotConfigured };

// One action of the few a command may take, and what a refusal (NG) of it means.
struct Step {
    enum class IfRefused {
        Fail,  // the command is answered "rejected"
        Carry, // the radio lacks what was asked, which changes nothing: go on
        Retry, // the radio lacks the command: plan the command again without it
    };
    Action action;
    IfRefused ifRefused = IfRefused::Fail;
    // Taken also when a step before it failed: it puts back what those changed.
    bool restores = false;
};

// What the radio must do before a command is answered; with no steps, code answers it at once.
struct Plan {
    Rprt code = Rprt::Ok;
    std::deque<Step> steps;
};

// Plans of the commands that need the radio; a read plans only the values not known.
Plan planFor(Command command, const std::vector<std::string>& args, const RadioState& radio);

// One client's conversation in Hamlib's network protocol, answered as rigctld answers: the
// commands of a line one after the other, each in the protocol its prefix asked for. A command
// that needs the radio holds the ones behind it until finish() is called.
class RigctlSession {
public:
    static constexpr std::size_t kMaxLine = 256;
    // Lines held behind a waiting action; more get the busy code.
    static constexpr std::size_t kMaxWaiting = 32;

    // The session reads radio for as long as it lives.
    explicit RigctlSession(const RadioState& radio);
    explicit RigctlSession(RadioState&&) = delete;

    void receive(std::string_view bytes);
    const std::optional<Action>& action() const { return action_; }
    void finish(Outcome outcome);
    std::string takeOutput();
    // The client said quit: close once the output is sent.
    bool quitting() const { return quitting_; }
    // Reads asked for, and answered with a value, from the radio's state or after a frame.
    struct Reads {
        int asked = 0;
        int answered = 0;
    };
    Reads reads() const { return reads_; }

private:
    struct Entry {
        std::string line;
        Rprt error = Rprt::Ok; // Ok: read the line; else answer this, count times
        int count = 1;
    };

    void hold(Entry entry);
    void run();
    void begin(const Request& request);
    // Nothing while the command waits on action_.
    std::optional<Rprt> carryOut(const Request& request);
    std::optional<Rprt> start(Plan plan);
    // The values of a read, all of them or none: Timeout when the radio did not tell one.
    Rprt answer(Command command);
    // Ends the current command with code and reads on.
    void next(Rprt code);
    void end(const CommandInfo& command, Rprt code);
    // A value and the separator after it; a few of rigctld's values end their line instead.
    void value(std::string_view key, const std::string& text, bool endsLine = false);

    const RadioState& radio_;
    std::string partial_;
    bool skipping_ = false;
    std::deque<Entry> waiting_;
    // Held text not yet read as commands.
    std::string input_;
    std::optional<Request> current_;
    std::optional<Action> action_;
    std::deque<Step> plan_;
    bool replanned_ = false;
    bool refused_ = false;
    // The extended protocol and its separator last until a command's report ends them.
    bool extended_ = false;
    char separator_ = '\n';
    bool quitting_ = false;
    Reads reads_;
    std::string output_;
};

} // namespace share
