// The line's notices decided from the account, their texts, and the NGs kept until put right.
#include "radio/line_notices.h"

#include "civ/bcd.h"
#include "civ/modes.h"
#include "civ/reply_decoder.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace radio {

namespace {

constexpr int kMsPerSecond = 1000;
constexpr int kSecondsPerDay = 24 * 3600;

std::string codeName(int code, std::optional<std::string_view> name)
{
    return name ? std::string(*name) : "0x" + civ::hexByte(code);
}

std::string clock(int seconds)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", seconds / 3600 % 24,
                  seconds / 60 % 60, seconds % 60);
    return text.data();
}

std::string radios(const std::vector<int>& talkers)
{
    std::string names = talkers.size() == 1 ? "radio " : "radios ";
    for (std::size_t i = 0; i < talkers.size(); ++i) {
        if (i > 0) {
            names += i + 1 == talkers.size() ? " and " : ", ";
        }
        names += std::to_string(talkers[i]);
    }
    return names;
}

} // namespace

std::string describeRequest(const civ::FrameView& view, std::span<const std::uint8_t> frame)
{
    const auto data = view.data(frame);
    switch (view.command) {
    case civ::kCmdReadFrequency:
        return "the frequency read";
    case civ::kCmdReadMode:
        return "the mode read";
    case civ::kCmdSetFrequency:
        if (const auto hz = civ::frequencyHz(data)) {
            return "frequency " + civ::formatKhz(static_cast<double>(*hz) / 1000) + " kHz";
        }
        break;
    case civ::kCmdSetMode:
        if (!data.empty()) {
            std::string what = "mode " + codeName(data[0], civ::modeName(data[0]));
            if (data.size() > 1) {
                what += " / " + codeName(data[1], civ::filterName(data[1]));
            }
            return what;
        }
        break;
    default:
        break;
    }
    return view.command < 0 ? "a command" : "command 0x" + civ::hexByte(view.command);
}

NoticeText portText(const line::PortStatus& port)
{
    switch (port.state) {
    case line::PortState::NotChosen:
        return {"No port chosen: plug in the interface, then choose it under Serial Port.", {}};
    case line::PortState::NeverOpened:
        return {"Port " + port.port + " did not open: " + port.reason +
                    ". Choose it again under Serial Port once that is put right.",
                port.port};
    case line::PortState::Lost:
        return {"Lost " + port.port + ": " + port.reason +
                    ". Choose the port again once it is back.",
                port.port};
    case line::PortState::Opening:
    case line::PortState::Open:
        break;
    }
    return {};
}

NoticeText busyText(const line::HoldBack& held, int since)
{
    // By address: two talkers about as busy would otherwise swap places from tick to tick.
    std::vector<int> talkers = held.talkers;
    std::ranges::sort(talkers);
    // Dated, not counted: under a flood of reports a count would change the text, and so the
    // status bar's layout, every second.
    const bool several = talkers.size() > 1;
    std::string who = radios(talkers);
    return {"Our frames have waited since " + clock(since) + ": " + who +
                (several ? " keep the bus busy. Turn CI-V Transceive off on those radios, or "
                           "slow their reports."
                         : " keeps the bus busy. Turn CI-V Transceive off on that radio, or slow "
                           "its reports."),
            who};
}

NoticeText silenceText(int radio, const line::PortStatus& port, int since)
{
    const std::string rate = port.network ? "" : " at " + std::to_string(port.rate) + " bit/s";
    const std::string check = port.network
                                  ? "check address, the server, its cable and the radio's power"
                                  : "check rate, address, cable and power";
    const std::string who = "radio " + std::to_string(radio);
    return {"No answer from " + who + rate + " since " + clock(since) + ": " + check, who};
}

NoticeText refusalText(int radio, const std::string& what, bool again, int since)
{
    // Dated: shown again after a silence, an old NG must not pass for a new one.
    const std::string who = "Radio " + std::to_string(radio);
    return {again ? who + " has refused " + what + " (NG) since " + clock(since)
                  : who + " refused " + what + " (NG) at " + clock(since),
            who};
}

NoticeText broadcastPollText()
{
    return {"No radio answers a poll to 0, the broadcast address: set Radio ID to the radio's "
            "own address.",
            "0"};
}

int LineView::clockAt(line::Millis at) const
{
    constexpr line::Millis kMsPerDay = line::Millis{kSecondsPerDay} * kMsPerSecond;
    const line::Millis ms = ((msOfDay() - (now - at)) % kMsPerDay + kMsPerDay) % kMsPerDay;
    return static_cast<int>(ms / kMsPerSecond);
}

void LineNotices::update(Notices& notices, const line::LinkAccount& account,
                         const LineView& view) const
{
    notices.set(Notice::Port, portText(account.port()));
    const auto held = account.heldBack(view.now);
    notices.set(Notice::Busy, held ? busyText(*held, view.clockAt(held->since)) : NoticeText());
    NoticeText silence;
    if (view.polling && view.radioId == civ::kBroadcast) {
        silence = broadcastPollText();
    } else if (view.polling && view.radioId >= 0 && account.port().state == line::PortState::Open) {
        const line::RadioStatus radio = account.radio(view.radioId);
        if (radio.unanswered >= kSilentAfterRequests && radio.silentSince) {
            silence = silenceText(view.radioId, account.port(), view.clockAt(*radio.silentSince));
        }
    }
    notices.set(Notice::Silence, std::move(silence));
    notices.set(Notice::Refusal, refusal(view));
}

NoticeText LineNotices::refusal(const LineView& view) const
{
    if (refused_.empty()) {
        return {};
    }
    std::string what;
    bool again = false;
    for (std::size_t i = 0; i < refused_.size(); ++i) {
        if (i > 0) {
            what += i + 1 == refused_.size() ? " and " : ", ";
        }
        what += refused_[i].what;
        again = again || refused_[i].again;
    }
    return refusalText(refused_.front().by, what, again, view.clockAt(refused_.front().at));
}

void LineNotices::take(const line::FrameEvent& event, int radioId)
{
    // Another program is told its own answers; the window's notices are the window's.
    if (fromOtherProgram(event.origin)) {
        return;
    }
    if (event.direction == line::Direction::Sent && event.request) {
        sent_.push_back({*event.request, event.bytes, event.view});
        if (sent_.size() > kRemembered) {
            sent_.pop_front();
        }
        return;
    }
    if (event.direction != line::Direction::Received || event.kind != line::Kind::Frame ||
        event.view.from != radioId || radioId < 0) {
        return;
    }
    if (!refused_.empty() && refused_.front().by != radioId) {
        refused_.clear(); // another radio's
    }
    const Sent* const asked = request(event);
    // An NG paired with no request clears on whatever the radio sends next.
    const Key key = asked ? keyOf(*asked) : Key{radioId};
    const auto found = std::ranges::find(refused_, key, &Refused::key);
    const bool listed = found != refused_.end();
    if (event.view.command == civ::kNg) {
        const std::string what = asked ? describeRequest(asked->view, asked->frame) : "a command";
        if (listed) {
            found->what = what;
            found->again = true;
        } else {
            refused_.push_back({key, radioId, what, event.at, false});
        }
        return;
    }
    if (listed) {
        refused_.erase(found);
    }
    std::erase_if(refused_, [](const Refused& r) { return r.key.command < 0; });
}

const LineNotices::Sent* LineNotices::request(const line::FrameEvent& reply) const
{
    if (!reply.request) {
        return nullptr;
    }
    const auto found = std::ranges::find(sent_, *reply.request, &Sent::id);
    return found == sent_.end() ? nullptr : &*found;
}

LineNotices::Key LineNotices::keyOf(const Sent& request)
{
    return {request.view.to, request.view.command, request.view.subCommand};
}

} // namespace radio
