// --rigctld's address: read from the command line, resolved, and bound.
#include "share/rigctl_listen_address.h"

#include <QHostAddress>
#include <QHostInfo>
#include <algorithm>
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

std::optional<std::string> resolveListenHost(const std::string& host)
{
    QHostAddress address(QString::fromStdString(host));
    if (address.isNull()) {
        const QList<QHostAddress> found =
            QHostInfo::fromName(QString::fromStdString(host)).addresses();
        if (found.isEmpty()) {
            return std::nullopt;
        }
        const auto v4 = std::find_if(found.begin(), found.end(), [](const QHostAddress& a) {
            return a.protocol() == QAbstractSocket::IPv4Protocol;
        });
        address = v4 != found.end() ? *v4 : found.front();
    }
    return address.toString().toStdString();
}

std::string listenAddressText(const ListenAddress& address)
{
    const bool v6 = address.host.find(':') != std::string::npos;
    return (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

std::string exposureWarning(const ListenAddress& address)
{
    const auto bound = resolveListenHost(address.host);
    if (!bound || QHostAddress(QString::fromStdString(*bound)).isLoopback()) {
        return {};
    }
    return "The Hamlib network server listens on " + address.host + ":" +
           std::to_string(address.port) +
           ". Anyone who can reach that address can tune the radio and key its transmitter.";
}

std::unique_ptr<platform::ClientListener> bindListener(const ListenAddress& address)
{
    auto listener = platform::newTcpListener();
    if (const auto bound = resolveListenHost(address.host)) {
        listener->listen(*bound, address.port);
    }
    return listener;
}

} // namespace share
