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

std::string portText(const line::PortStatus& port)
{
    switch (port.state) {
    case line::PortState::NotChosen:
        return "No port chosen: plug in the interface, then choose it under Serial Port.";
    case line::PortState::NeverOpened:
        return "Port " + port.port + " did not open: " + port.reason +
               ". Choose it again under Serial Port once that is put right.";
    case line::PortState::Lost:
        return "Lost " + port.port + ": " + port.reason +
               ". Choose the port again once it is back.";
    case line::PortState::Opening:
    case line::PortState::Open:
        break;
    }
    return {};
}

std::string busyText(const line::HoldBack& held, int since)
{
    // By address: two talkers about as busy would otherwise swap places from tick to tick.
    std::vector<int> talkers = held.talkers;
    std::ranges::sort(talkers);
    // Dated, not counted: under a flood of reports a count would change the text, and so the
    // status bar's layout, every second.
    const bool several = talkers.size() > 1;
    return "Our frames have waited since " + clock(since) + ": " + radios(talkers) +
           (several ? " keep the bus busy. Turn CI-V Transceive off on those radios, or slow "
                      "their reports."
                    : " keeps the bus busy. Turn CI-V Transceive off on that radio, or slow "
                      "its reports.");
}

std::string silenceText(int radio, const line::PortStatus& port, int since)
{
    const std::string rate = port.network ? "" : " at " + std::to_string(port.rate) + " bit/s";
    const std::string check = port.network
                                  ? "check address, the server, its cable and the radio's power"
                                  : "check rate, address, cable and power";
    return "No answer from radio " + std::to_string(radio) + rate + " since " + clock(since) +
           ": " + check;
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
    notices.set(Notice::Busy, held ? busyText(*held, view.clockAt(held->since)) : std::string());
    std::string silence;
    if (view.polling && view.radioId >= 0 && account.port().state == line::PortState::Open) {
        const line::RadioStatus radio = account.radio(view.radioId);
        if (radio.unanswered >= kSilentAfterRequests && radio.silentSince) {
            silence = silenceText(view.radioId, account.port(), view.clockAt(*radio.silentSince));
        }
    }
    notices.set(Notice::Silence, silence);
}

void LineNotices::take(Notices& notices, const line::FrameEvent& event, int radioId)
{
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
    const Sent* const asked = request(event);
    if (event.view.command == civ::kNg) {
        // An NG paired with no request clears on whatever the radio sends next.
        refused_ = asked ? keyOf(*asked) : Key{radioId};
        const std::string what = asked ? describeRequest(asked->view, asked->frame) : "a command";
        notices.set(Notice::Refusal,
                    "Radio " + std::to_string(radioId) + " refused " + what + " (NG)");
    } else if (refused_ && ((asked && refused_ == keyOf(*asked)) || refused_->command < 0)) {
        refused_.reset();
        notices.clear(Notice::Refusal);
    }
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
