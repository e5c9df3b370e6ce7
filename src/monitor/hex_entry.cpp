// A typed line read as hex bytes into a frame or a reason, and the history of lines sent.
#include "monitor/hex_entry.h"

#include "civ/address.h"
#include "civ/frame_builder.h"
#include "civ/transmit_queue.h"

#include <algorithm>
#include <iterator>

namespace monitor {

namespace {

struct Typed {
    std::uint8_t value;
    std::size_t column; // 1-based, where its digits start
    std::string_view text;
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string at(std::string_view text, std::size_t column)
{
    // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) on "..." + std::string at -O2.
    std::string quoted = "\"";
    quoted.append(text).append("\" at column ").append(std::to_string(column));
    return quoted;
}

// Appends the bytes of one blank-separated token; returns the error, if any.
std::optional<std::string> readToken(std::string_view token, std::size_t column,
                                     std::vector<Typed>& out)
{
    const bool prefixed =
        token.size() >= 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X');
    const std::string_view digits = prefixed ? token.substr(2) : token;
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return hexDigit(c) >= 0; })) {
        return at(token, column) + " is not hex.";
    }
    if (!prefixed && digits.size() % 2 == 0) {
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            const auto value =
                static_cast<std::uint8_t>(hexDigit(digits[i]) * 16 + hexDigit(digits[i + 1]));
            out.push_back({value, column + i, digits.substr(i, 2)});
        }
        return std::nullopt;
    }
    const std::string_view significant =
        digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    if (significant.size() > 2) {
        return at(token, column) + " is outside 00 to FF (0 to 255).";
    }
    int value = 0;
    for (const char c : significant) {
        value = value * 16 + hexDigit(c);
    }
    out.push_back({static_cast<std::uint8_t>(value), column, token});
    return std::nullopt;
}

std::string addressError(std::string_view field)
{
    return civ::addressRule(field) +
           " Correct it in the main window, or type a whole frame from FE FE to FD.";
}

EntryResult refused(std::string error)
{
    return {{}, std::move(error)};
}

} // namespace

EntryResult parseEntry(std::string_view text, int radioAddress, int ourAddress)
{
    std::vector<Typed> typed;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(text.find_first_of(" \t", i), text.size());
        if (auto error = readToken(text.substr(i, end - i), i + 1, typed)) {
            return refused(std::move(*error));
        }
        i = end;
    }
    if (typed.empty()) {
        return refused("Nothing to send: type hex bytes, such as 19 00.");
    }

    const bool whole =
        typed.size() >= 2 && typed[0].value == civ::kPreamble && typed[1].value == civ::kPreamble;
    constexpr std::size_t kShortest = 6;
    if (whole && typed.back().value != civ::kEndOfMessage) {
        return refused("The frame ends in " + at(typed.back().text, typed.back().column) +
                       ", not in FD.");
    }
    if (whole && typed.size() < kShortest) {
        return refused("A frame needs FE FE, two addresses, a command and FD; this one has " +
                       std::to_string(typed.size()) + " bytes.");
    }
    const auto inside = whole ? std::span(typed).subspan(2, typed.size() - 3) : std::span(typed);
    const auto reserved = std::find_if(inside.begin(), inside.end(),
                                       [](const Typed& t) { return civ::isReservedByte(t.value); });
    if (reserved != inside.end()) {
        return refused(at(reserved->text, reserved->column) +
                       " is reserved: FC, FD and FE cannot be inside a frame.");
    }
    if (!whole && !civ::isEncodableAddress(radioAddress)) {
        return refused(addressError("Radio ID"));
    }
    if (!whole && !civ::isEncodableAddress(ourAddress)) {
        return refused(addressError("Our ID"));
    }

    EntryResult result;
    if (whole) {
        std::ranges::transform(typed, std::back_inserter(result.frame), &Typed::value);
    } else {
        civ::Frame body;
        std::ranges::transform(inside.subspan(1), std::back_inserter(body), &Typed::value);
        result.frame = civ::buildFrame(static_cast<std::uint8_t>(radioAddress),
                                       static_cast<std::uint8_t>(ourAddress), typed[0].value, body);
    }
    // Longer frames would leave in pieces at separate release points.
    constexpr auto kLongest = static_cast<std::size_t>(civ::TransmitQueue::kMaxRelease);
    if (result.frame.size() > kLongest) {
        return refused("The frame has " + std::to_string(result.frame.size()) + " bytes; at most " +
                       std::to_string(kLongest) + " go out at once.");
    }
    return result;
}

void EntryHistory::add(const std::string& line)
{
    if (lines_.empty() || lines_.back() != line) {
        lines_.push_back(line);
    }
    if (lines_.size() > kMaxLines) {
        lines_.erase(lines_.begin());
    }
    position_ = lines_.size();
    typing_.clear();
}

std::optional<std::string> EntryHistory::older(const std::string& typing)
{
    if (position_ == 0) {
        return std::nullopt;
    }
    if (position_ == lines_.size()) {
        typing_ = typing;
    }
    return lines_[--position_];
}

std::optional<std::string> EntryHistory::newer()
{
    if (position_ >= lines_.size()) {
        return std::nullopt;
    }
    ++position_;
    return position_ == lines_.size() ? typing_ : lines_[position_];
}

} // namespace monitor
