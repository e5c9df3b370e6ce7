#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace share {

// Where the Hamlib network server listens: loopback unless the operator names another host.
struct ListenAddress {
    std::string host = "127.0.0.1";
    std::uint16_t port = 4532;
};

// HOST:PORT or PORT, as --rigctld takes it; empty text gives the defaults.
std::optional<ListenAddress> parseListenAddress(std::string_view text);
// What the operator must be told before others can reach the radio; empty for loopback.
std::string exposureWarning(const ListenAddress& address);

} // namespace share
