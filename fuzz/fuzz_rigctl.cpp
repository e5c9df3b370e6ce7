// Arbitrary client bytes through the Hamlib protocol core. The first byte chooses whether the
// radio's values are known and how each action the session asks for ends; the rest is what the
// client sends, cut into chunks at each 0x00.
#include "fuzz_check.h"
#include "share/rigctl_session.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Longer than any one answer: \dump_caps, the longest, is under 3.5 KiB.
constexpr std::size_t kLongestAnswer = 4096;

share::RadioState radio(bool known)
{
    share::RadioState state;
    if (known) {
        using line::Direction;
        using line::Kind;
        state.heard({Direction::Received,
                     Kind::Frame,
                     {0xFE, 0xFE, 0xE0, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}},
                    0x08, 0xE0, 0);
        state.heard({Direction::Received, Kind::Frame, {0xFE, 0xFE, 0xE0, 0x08, 0x04, 0x03, 0xFD}},
                    0x08, 0xE0, 0);
    }
    return state;
}

// What the server could put on the line for it: a frame the radio can read.
void checkAction(const share::Action& a)
{
    using Kind = share::Action::Kind;
    if (a.kind == Kind::SetFrequency || a.kind == Kind::SetOtherFrequency) {
        FUZZ_CHECK(a.hz > 0 && a.hz <= 9'999'999'999);
    }
    if (a.kind == Kind::SetMode || a.kind == Kind::SetOtherMode || a.kind == Kind::SetData) {
        FUZZ_CHECK(a.mode >= 0 && a.mode <= 8);
        FUZZ_CHECK(!a.filter || (*a.filter >= 1 && *a.filter <= 3));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    const share::RadioState state = radio(data[0] & 1);
    const auto outcome = static_cast<share::Outcome>((data[0] >> 1) % 6);
    share::RigctlSession session(state);
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t sent = 0;
    std::size_t answered = 0;
    while (!rest.empty()) {
        const std::size_t cut = std::min(rest.find('\0'), rest.size());
        const std::string_view chunk = rest.substr(0, cut);
        sent += chunk.size();
        session.receive(chunk);
        rest.remove_prefix(std::min(cut + 1, rest.size()));
        while (session.action()) {
            checkAction(*session.action());
            session.finish(outcome);
        }
        const std::string out = session.takeOutput();
        FUZZ_CHECK(out.empty() || out.back() == '\n');
        answered += out.size();
    }
    // Several commands share a line, but each takes a byte of it and is answered once.
    FUZZ_CHECK(answered <= (sent + 1) * kLongestAnswer);
    return 0;
}
