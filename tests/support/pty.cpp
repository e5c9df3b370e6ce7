// The kernel's own termios: glibc's <termios.h> would clash with it and lacks arbitrary rates.
#include "pty.h"

#include <asm/termbits.h>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

Pty::Pty()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
        slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
    }
}

Pty::Line Pty::line() const
{
    termios2 t{};
    ::ioctl(master_, TCGETS2, &t);
    return {t.c_ospeed, (t.c_cflag & CSTOPB) != 0, (t.c_iflag & (IXON | IXOFF)) != 0,
            (t.c_cflag & CRTSCTS) != 0};
}

void Pty::preset() const
{
    termios2 t{};
    ::ioctl(master_, TCGETS2, &t);
    t.c_cflag = (t.c_cflag & ~CBAUD) | BOTHER | CSTOPB | CRTSCTS;
    t.c_iflag |= IXON | IXOFF;
    t.c_ispeed = t.c_ospeed = 110;
    ::ioctl(master_, TCSETS2, &t);
}

QByteArray Pty::take() const
{
    int waiting = 0;
    if (::ioctl(master_, FIONREAD, &waiting) != 0 || waiting <= 0) {
        return {};
    }
    QByteArray bytes(waiting, Qt::Uninitialized);
    const ssize_t n = ::read(master_, bytes.data(), static_cast<std::size_t>(waiting));
    bytes.resize(n > 0 ? n : 0);
    return bytes;
}

void Pty::hangUp()
{
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}
