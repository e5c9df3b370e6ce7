// What every sharing service tells the Share window, and what it lets the operator stop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace share {

// One program reaching the radio through this one.
struct ClientInfo {
    std::uint32_t id = 0;
    std::string name;   // "127.0.0.1:40512", "/tmp/civ (controller E0)"
    int framesSent = 0; // a network client's reads count as well
    int framesAnswered = 0;
    int framesDropped = 0; // refused or not CI-V
};

// A way other programs reach the radio: the network server or the CI-V port. The Share window
// lists them.
class SharedService {
public:
    virtual ~SharedService() = default;

    virtual std::string title() const = 0; // "Hamlib network server", "CI-V port"
    virtual std::string where() const = 0; // "127.0.0.1:4532", "/tmp/civ"
    virtual bool running() const = 0;
    virtual std::vector<ClientInfo> clients() const = 0;
    virtual void stopClient(std::uint32_t id) = 0;
    virtual void stop() = 0;
    // Programs turned away because the service had all it takes.
    virtual int refusedClients() const { return 0; }
};

} // namespace share
