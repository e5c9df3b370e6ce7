// The simulator's lines: a pseudo-terminal, a serial device, or a TCP listener.
#include "transport.h"

#include "line_rate.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pty.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace civsim {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other) {
        reset();
        fd_ = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd()
{
    reset();
}

int UniqueFd::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::reset()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = -1;
}

namespace {

[[noreturn]] void failErrno(const std::string& what, int error = errno)
{
    throw std::runtime_error(what + ": " + std::strerror(error));
}

void setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        failErrno("fcntl");
    }
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

speed_t speedFor(int baud)
{
    switch (baud) {
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    default:
        throw std::runtime_error("unsupported baud rate " + std::to_string(baud));
    }
}

class PtyTransport : public Transport {
public:
    explicit PtyTransport(std::string link)
        : link_(std::move(link))
    {
        int master = -1;
        int slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) < 0) {
            failErrno("openpty");
        }
        master_ = UniqueFd(master);
        // Held open so the pty survives the controller closing and re-opening its end.
        slave_ = UniqueFd(slave);

        termios tio{};
        if (::tcgetattr(slave, &tio) < 0) {
            failErrno("tcgetattr");
        }
        ::cfmakeraw(&tio);
        if (::tcsetattr(slave, TCSANOW, &tio) < 0) {
            failErrno("tcsetattr");
        }
        setNonBlocking(master);
        ::fcntl(slave, F_SETFD, FD_CLOEXEC);

        char name[256];
        if (const int error = ::ptsname_r(master, name, sizeof name); error != 0) {
            failErrno("ptsname", error);
        }
        path_ = name;
        if (!link_.empty()) {
            makeLink();
        }
    }

    PtyTransport(const PtyTransport&) = delete;
    PtyTransport& operator=(const PtyTransport&) = delete;

    ~PtyTransport() override
    {
        if (!link_.empty()) {
            ::unlink(link_.c_str());
        }
    }

    std::string address() const override { return link_.empty() ? path_ : link_; }
    int lineFd() const override { return master_.get(); }
    void discardUnread() override { ::tcflush(slave_.get(), TCIFLUSH); }
    // Both ends of a pty share one set of line settings.
    std::optional<int> controllerRate() const override { return terminalRate(slave_.get()); }

private:
    // Replaces a link left by an earlier run, but never anything that is not a link.
    void makeLink()
    {
        struct stat info {};
        if (::lstat(link_.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            ::unlink(link_.c_str());
        }
        if (::symlink(path_.c_str(), link_.c_str()) < 0) {
            const std::string link = std::exchange(link_, {});
            failErrno("symlink " + link);
        }
    }

    std::string link_;
    UniqueFd master_;
    UniqueFd slave_;
    std::string path_;
};

class DeviceTransport : public Transport {
public:
    DeviceTransport(const std::string& path, int baud)
        : path_(path)
    {
        fd_ = UniqueFd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
        if (fd_.get() < 0) {
            failErrno(path);
        }
        termios tio{};
        if (::tcgetattr(fd_.get(), &tio) < 0) {
            failErrno(path);
        }
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cflag &= ~(CSTOPB | CRTSCTS);
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        tio.c_cc[VMIN] = 1;
        tio.c_cc[VTIME] = 0;
        const speed_t speed = speedFor(baud);
        if (::cfsetispeed(&tio, speed) < 0 || ::cfsetospeed(&tio, speed) < 0 ||
            ::tcsetattr(fd_.get(), TCSANOW, &tio) < 0) {
            failErrno(path);
        }
        ::tcflush(fd_.get(), TCIOFLUSH);
    }

    std::string address() const override { return path_; }
    int lineFd() const override { return fd_.get(); }
    void discardUnread() override { ::tcflush(fd_.get(), TCOFLUSH); }

private:
    UniqueFd fd_;
    std::string path_;
};

class TcpTransport : public Transport {
public:
    TcpTransport(const std::string& host, std::uint16_t port)
    {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
        addrinfo* found = nullptr;
        const std::string service = std::to_string(port);
        if (const int error = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found)) {
            throw std::runtime_error(host + ": " + ::gai_strerror(error));
        }

        int lastError = 0;
        for (const addrinfo* ai = found; ai && listen_.get() < 0; ai = ai->ai_next) {
            UniqueFd fd(::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol));
            const int on = 1;
            if (fd.get() >= 0 &&
                ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 &&
                ::bind(fd.get(), ai->ai_addr, ai->ai_addrlen) == 0 && ::listen(fd.get(), 1) == 0) {
                listen_ = std::move(fd);
            } else {
                lastError = errno;
            }
        }
        ::freeaddrinfo(found);
        if (listen_.get() < 0) {
            failErrno("listen on " + host + ":" + service, lastError);
        }
        setNonBlocking(listen_.get());

        sockaddr_storage bound{};
        socklen_t length = sizeof bound;
        if (::getsockname(listen_.get(), reinterpret_cast<sockaddr*>(&bound), &length) < 0) {
            failErrno("getsockname");
        }
        const std::uint16_t actual = bound.ss_family == AF_INET6
                                         ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                         : reinterpret_cast<sockaddr_in*>(&bound)->sin_port;
        const bool v6 = host.find(':') != std::string::npos;
        address_ = "tcp://" + (v6 ? "[" + host + "]" : host) + ":" + std::to_string(ntohs(actual));
    }

    std::string address() const override { return address_; }
    int lineFd() const override { return client_.get(); }
    int listenFd() const override { return listen_.get(); }

    void acceptClient() override
    {
        const int fd = ::accept4(listen_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return; // The client gave up before we got to it.
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        client_ = UniqueFd(fd);
    }

    bool lineClosed() override
    {
        client_.reset();
        return true;
    }

private:
    UniqueFd listen_;
    UniqueFd client_;
    std::string address_;
};

} // namespace

std::unique_ptr<Transport> openTransport(const Options& options)
{
    switch (options.line) {
    case LineKind::Device:
        return std::make_unique<DeviceTransport>(options.device, options.baud);
    case LineKind::Tcp:
        return std::make_unique<TcpTransport>(options.listenHost, options.listenPort);
    case LineKind::Pty:
        break;
    }
    return std::make_unique<PtyTransport>(options.link);
}

} // namespace civsim
