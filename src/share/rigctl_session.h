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

// What a client's command needs of the radio before it can be answered.
struct Action {
    enum class Kind { ReadFrequency, ReadMode, ReadPtt, SetFrequency, SetMode, SetPtt };

    Kind kind = Kind::ReadFrequency;
    std::int64_t hz = 0;
    int mode = 0;
    std::optional<int> filter; // nothing: the radio keeps its filter
    bool ptt = false;

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
    std::optional<Rprt> read(Command command);
    // The value when the radio's state has it, else the action that asks for it.
    std::optional<Rprt> readKnown(Command command);
    std::optional<Rprt> set(Command command, const std::vector<std::string>& args);
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
    bool readTried_ = false;
    // The extended protocol and its separator last until a command's report ends them.
    bool extended_ = false;
    char separator_ = '\n';
    bool quitting_ = false;
    Reads reads_;
    std::string output_;
};

} // namespace share
