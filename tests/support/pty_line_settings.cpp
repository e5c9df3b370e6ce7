// Only the kernel's own termios here: glibc's <termios.h> defines the same names differently.
#include "pty_pair.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

std::optional<LineSettings> readLineSettings(int masterFd)
{
    termios2 t{};
    if (masterFd < 0 || ioctl(masterFd, TCGETS2, &t) != 0) {
        return std::nullopt;
    }
    LineSettings s;
    s.inputSpeed = t.c_ispeed;
    s.outputSpeed = t.c_ospeed;
    switch (t.c_cflag & CSIZE) {
    case CS5:
        s.dataBits = 5;
        break;
    case CS6:
        s.dataBits = 6;
        break;
    case CS7:
        s.dataBits = 7;
        break;
    default:
        s.dataBits = 8;
        break;
    }
    s.parity = (t.c_cflag & PARENB) != 0;
    s.twoStopBits = (t.c_cflag & CSTOPB) != 0;
    s.xonXoff = (t.c_iflag & (IXON | IXOFF)) != 0;
    s.rtsCts = (t.c_cflag & CRTSCTS) != 0;
    return s;
}
