// The line's notices: decided from the account and the window's view, and their texts.
#pragma once

#include "line/link_account.h"
#include "radio/notices.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace radio {

// What the window knows of the line besides the account.
struct LineView {
    int radioId = 8;      // -1 when Radio ID holds no valid address
    bool polling = true;  // false while a search or the check holds the poll
    line::Millis now = 0; // on the account's clock
    // The wall clock at now, in milliseconds of the day; asked only when a notice is to be
    // dated.
    std::function<int()> msOfDay;

    // The wall clock, in whole seconds of the day, at an earlier time on the account's clock.
    // Worked out in milliseconds: rounding the interval first would date it a second late
    // at some ticks and not at others.
    int clockAt(line::Millis at) const;
};

// The notices the line's state and events call for, decided from the link account: the port,
// a bus kept busy by others, a silent radio or a poll nothing answers, and the NGs paired with
// the requests they answer.
class LineNotices {
public:
    // Requests that may still be answered are remembered this many at most.
    static constexpr std::size_t kRemembered = 64;
    // Two polls of two requests each, both left unanswered.
    static constexpr int kSilentAfterRequests = 4;

    // Sets every notice of the line from the account's present state and the NGs taken.
    void update(Notices& notices, const line::LinkAccount& account, const LineView& view) const;
    // Each frame event, in order: an NG of the radio is kept until the command it refused
    // next succeeds. Other programs' frames and the answers to them are left out.
    void take(const line::FrameEvent& event, int radioId);

private:
    struct Sent {
        std::uint64_t id = 0;
        civ::Frame frame;
        civ::FrameView view;
    };
    // The command a request carries: address, command, sub-command.
    struct Key {
        int to = -1;
        int command = -1;
        int subCommand = -1;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct Refused {
        Key key;
        int by = -1;         // the radio that refused it
        std::string what;    // the request, in words
        line::Millis at = 0; // its first NG
        bool again = false;  // refused more than once
    };

    const Sent* request(const line::FrameEvent& reply) const;
    static Key keyOf(const Sent& request);
    NoticeText refusal(const LineView& view) const;

    std::deque<Sent> sent_;
    // In the order first refused, so that two refused reads make one steady notice.
    std::vector<Refused> refused_;
};

// "frequency 7040.5 kHz", "mode USB / WIDE", "the frequency read", "command 0x1A"; the view
// is that of the frame's bytes.
std::string describeRequest(const civ::FrameView& view, std::span<const std::uint8_t> frame);
// The notice of a port that is not open, or nothing while it is; its subject is the port.
NoticeText portText(const line::PortStatus& port);
// "Our frames have waited since 14:02:40: radio 148 keeps the bus busy. ..."
NoticeText busyText(const line::HoldBack& held, int since);
// "No answer from radio 8 at 9600 bit/s since 14:03:05: check rate, address, cable and power";
// on a network port without the rate.
NoticeText silenceText(int radio, const line::PortStatus& port, int since);
// "Radio 8 refused frequency 7040.5 kHz (NG) at 14:03:05"; what was refused more than once,
// "Radio 8 has refused the frequency read and the mode read (NG) since 14:03:05".
NoticeText refusalText(int radio, const std::string& what, bool again, int since);
// Polls to Radio ID 0 go to every radio, and none answers them.
NoticeText broadcastPollText();

} // namespace radio
