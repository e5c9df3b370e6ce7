#include "share/rigctl_listen_address.h"

#include <charconv>

namespace share {

std::optional<ListenAddress> parseListenAddress(std::string_view text)
{
    ListenAddress address;
    if (text.empty()) {
        return address;
    }
    const std::size_t colon = text.rfind(':');
    std::string_view port = text;
    if (colon != std::string_view::npos) {
        address.host = std::string(text.substr(0, colon));
        port = text.substr(colon + 1);
        if (address.host.size() > 2 && address.host.front() == '[' && address.host.back() == ']') {
            address.host = address.host.substr(1, address.host.size() - 2);
        }
        if (address.host.empty()) {
            return std::nullopt;
        }
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (port.empty() || error != std::errc() || end != port.data() + port.size() || value > 65535) {
        return std::nullopt;
    }
    address.port = static_cast<std::uint16_t>(value);
    return address;
}

std::string exposureWarning(const ListenAddress& address)
{
    const std::string& h = address.host;
    if (h == "localhost" || h == "::1" || h.rfind("127.", 0) == 0) {
        return {};
    }
    return "The Hamlib network server listens on " + h + ":" + std::to_string(address.port) +
           ". Anyone who can reach that address can tune the radio and key its transmitter.";
}

} // namespace share
