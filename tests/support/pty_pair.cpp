#include "pty_pair.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// No CI-V traffic holds this run of bytes.
const QByteArray kMarker = QByteArrayLiteral("\xFD\x00PTY-MARK\x00\xFD");

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

bool makeRaw(int fd)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

void waitReadable(int fd, int milliseconds)
{
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, milliseconds);
}

} // namespace

PtyPair::PtyPair()
{
    char name[256] = {};
    int master = -1;
    if (openpty(&master, &slave_, name, nullptr, nullptr) != 0) {
        error_ = systemError("openpty");
        return;
    }
    if (!makeRaw(master) || !makeRaw(slave_)) {
        error_ = systemError("tcsetattr");
        ::close(master);
        return;
    }
    const int flags = fcntl(master, F_GETFL);
    if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) {
        error_ = systemError("fcntl");
        ::close(master);
        return;
    }
    master_ = master;
    slavePath_ = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    closeMaster();
}

void PtyPair::closeMaster()
{
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
}

bool PtyPair::presetForeignSettings()
{
    termios t{};
    if (slave_ < 0 || tcgetattr(slave_, &t) != 0) {
        return false;
    }
    t.c_cflag |= CSTOPB | CRTSCTS;
    t.c_iflag |= IXON | IXOFF;
    cfsetispeed(&t, B110);
    cfsetospeed(&t, B110);
    return tcsetattr(slave_, TCSANOW, &t) == 0;
}

bool PtyPair::write(QByteArrayView bytes)
{
    qsizetype done = 0;
    const QDeadlineTimer deadline(5000);
    while (master_ >= 0 && done < bytes.size() && !deadline.hasExpired()) {
        const ssize_t n = ::write(master_, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return false;
        }
        if (n < 0) {
            pollfd p{master_, POLLOUT, 0};
            poll(&p, 1, 5);
        }
        done += n > 0 ? n : 0;
    }
    return done == bytes.size();
}

bool PtyPair::waitUntilPending(qsizetype count, QDeadlineTimer deadline)
{
    while (slave_ >= 0) {
        int pending = 0;
        if (ioctl(slave_, FIONREAD, &pending) != 0) {
            return false;
        }
        if (pending >= count) {
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        // The kernel moves bytes across in its own time; poll wakes once the first is there.
        waitReadable(pending == 0 ? slave_ : -1, 1);
    }
    return false;
}

QByteArray PtyPair::readMaster(qsizetype max)
{
    QByteArray out;
    char chunk[4096];
    while (master_ >= 0 && out.size() < max) {
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0) {
            break;
        }
        out.append(chunk, n);
    }
    return out;
}

QByteArray PtyPair::read(qsizetype count, QDeadlineTimer deadline)
{
    while (pending_.size() < count && master_ >= 0) {
        QCoreApplication::processEvents();
        pending_.append(readMaster(count - pending_.size()));
        if (pending_.size() >= count || deadline.hasExpired()) {
            break;
        }
        waitReadable(master_, 5);
    }
    const QByteArray out = pending_.left(count);
    pending_.remove(0, out.size());
    return out;
}

QByteArray PtyPair::drainWritten(QDeadlineTimer deadline)
{
    if (slave_ < 0 ||
        ::write(slave_, kMarker.constData(), size_t(kMarker.size())) != kMarker.size()) {
        return {};
    }
    qsizetype at = -1;
    for (;;) {
        pending_.append(readMaster(1 << 20));
        if ((at = pending_.indexOf(kMarker)) >= 0) {
            break;
        }
        if (deadline.hasExpired()) {
            return {};
        }
        waitReadable(master_, 5);
    }
    const QByteArray out = pending_.left(at);
    pending_.remove(0, at + kMarker.size());
    return out;
}
