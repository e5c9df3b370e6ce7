// The pseudo-terminal opened raw with its link, read as bytes come, and closed with the link.
#include "platform/pseudo_terminal.h"

#include "platform/logging.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

// Empty when the link may be made at path; otherwise why not.
QString clearLinkPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink()) {
        return info.exists() ? QStringLiteral("%1 exists and is not a link; not replaced").arg(path)
                             : QString();
    }
    // A link to a terminal that is gone is what a program that stopped left behind.
    if (QFileInfo::exists(info.symLinkTarget())) {
        return QStringLiteral("%1 already leads to %2, which exists; not replaced")
            .arg(path, info.symLinkTarget());
    }
    if (!QFile::remove(path)) {
        return QStringLiteral("%1: cannot remove the old link").arg(path);
    }
    return {};
}

} // namespace

PseudoTerminal::PseudoTerminal(QObject* parent)
    : QObject(parent)
{}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

QString PseudoTerminal::open(const QString& linkPath)
{
    close();
    if (QString refused = clearLinkPath(linkPath); !refused.isEmpty()) {
        return refused;
    }
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        return systemError("posix_openpt");
    }
    const char* name = nullptr;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
        (name = ::ptsname(master)) == nullptr) {
        const QString error = systemError("grantpt");
        ::close(master);
        return error;
    }
    const QString device = QString::fromLocal8Bit(name);
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    termios mode{};
    if (slave < 0 || ::tcgetattr(slave, &mode) != 0) {
        const QString error = systemError(name);
        ::close(master);
        if (slave >= 0) {
            ::close(slave);
        }
        return error;
    }
    ::cfmakeraw(&mode);
    ::tcsetattr(slave, TCSANOW, &mode);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    if (!QFile::link(device, linkPath)) {
        ::close(master);
        ::close(slave);
        return QStringLiteral("%1: cannot make the link").arg(linkPath);
    }
    master_ = master;
    slave_ = slave;
    link_ = linkPath;
    device_ = device;
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PseudoTerminal::readAvailable);
    watchOpens();
    qCInfo(lcShare) << "pseudo-terminal" << device_ << "at" << link_;
    return {};
}

void PseudoTerminal::close()
{
    if (master_ < 0) {
        return;
    }
    delete notifier_;
    notifier_ = nullptr;
    delete opensNotifier_;
    opensNotifier_ = nullptr;
    if (opens_ >= 0) {
        ::close(opens_);
    }
    opens_ = -1;
    openedBy_ = 0;
    ::close(master_);
    ::close(slave_);
    master_ = -1;
    slave_ = -1;
    if (QFileInfo(link_).symLinkTarget() == device_) {
        QFile::remove(link_);
    }
    device_.clear();
}

void PseudoTerminal::write(const QByteArray& bytes)
{
    if (master_ < 0 || bytes.isEmpty()) {
        return;
    }
    const ssize_t n = ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
    if (n < bytes.size()) {
        qCDebug(lcShare) << "pseudo-terminal full:" << bytes.size() - std::max<ssize_t>(n, 0)
                         << "bytes lost";
    }
}

void PseudoTerminal::readAvailable()
{
    std::array<char, 4096> buffer{};
    QByteArray bytes;
    ssize_t n = 0;
    while ((n = ::read(master_, buffer.data(), buffer.size())) > 0) {
        bytes.append(buffer.data(), n);
    }
    if (!bytes.isEmpty()) {
        emit received(bytes);
    }
}

void PseudoTerminal::watchOpens()
{
    opens_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (opens_ < 0 ||
        ::inotify_add_watch(opens_, device_.toLocal8Bit().constData(), IN_OPEN | IN_CLOSE) < 0) {
        qCInfo(lcShare).noquote() << "programs leaving" << device_
                                  << "will not be seen:" << systemError("inotify");
        return;
    }
    opensNotifier_ = new QSocketNotifier(opens_, QSocketNotifier::Read, this);
    connect(opensNotifier_, &QSocketNotifier::activated, this, &PseudoTerminal::readOpens);
}

void PseudoTerminal::readOpens()
{
    alignas(inotify_event) std::array<char, 4096> buffer{};
    const int before = openedBy_;
    ssize_t n = 0;
    while ((n = ::read(opens_, buffer.data(), buffer.size())) > 0) {
        for (ssize_t at = 0; at < n;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            openedBy_ += (event.mask & IN_OPEN) != 0 ? 1 : 0;
            openedBy_ -= (event.mask & IN_CLOSE) != 0 && openedBy_ > 0 ? 1 : 0;
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    if (before > 0 && openedBy_ == 0) {
        emit allClosed();
    }
}

} // namespace platform
