// --rigctld's address: read, resolved, shown, warned of when open to others, and bound.
#pragma once

#include "platform/client_listener.h"

#include <cstdint>
#include <memory>
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
// The numeric address to bind for a host: a name is resolved (localhost to the loopback
// address, IPv4 first), never left for the system to read as "any". Nothing without one.
std::optional<std::string> resolveListenHost(const std::string& host);
// "127.0.0.1:4532", "[::1]:4532".
std::string listenAddressText(const ListenAddress& address);
// What the operator must be told before others can reach the radio; empty for loopback.
std::string exposureWarning(const ListenAddress& address);
// A listener bound at the address, for clients to connect to before the server takes them;
// one that could not bind is returned too, and the server's start says why.
std::unique_ptr<platform::ClientListener> bindListener(const ListenAddress& address);

} // namespace share
