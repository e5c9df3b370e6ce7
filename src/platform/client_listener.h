// What the network server needs of the system: a listener, its clients and their bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What listen() says when another program holds the address already.
inline constexpr std::string_view kAddressInUse = "the address is already in use";

// A listening socket and the clients it took, each by a number of its own.
class ClientListener {
public:
    struct Events {
        std::function<void(std::uint32_t client, const std::string& label)> connected;
        std::function<void(std::uint32_t client, std::string_view bytes)> received;
        // The client went away, or was disconnected: its number is not used again.
        std::function<void(std::uint32_t client)> gone;
    };

    virtual ~ClientListener() = default;

    // Binds a numeric address; nothing on success, else what the system said, or
    // kAddressInUse. Clients that connect wait until serve() is called.
    virtual std::optional<std::string> listen(const std::string& address, std::uint16_t port) = 0;
    // Takes the clients, those already waiting first, and tells events of them.
    virtual void serve(Events events) = 0;
    virtual bool listening() const = 0;
    // "127.0.0.1:4532", with the port the system chose for port 0.
    virtual std::string address() const = 0;
    virtual void close() = 0;
    virtual void write(std::uint32_t client, std::string_view bytes) = 0;
    // Bytes written that the client has not taken yet.
    virtual std::size_t unsent(std::uint32_t client) const = 0;
    // With afterUnsent, once what was written has gone; else at once.
    virtual void disconnect(std::uint32_t client, bool afterUnsent) = 0;
};

std::unique_ptr<ClientListener> newTcpListener();

} // namespace platform
