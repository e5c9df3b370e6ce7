// The pseudo-terminal the CI-V port is made of, behind a link at the operator's path.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace platform {

// A pseudo-terminal reached through a symbolic link, for a program that expects a serial port
// there. Raw, 8 bits, no echo of its own: the program sets its rate and mode as it likes.
class PseudoTerminal : public QObject {
    Q_OBJECT

public:
    explicit PseudoTerminal(QObject* parent);
    ~PseudoTerminal() override;

    // A fresh terminal with the link at linkPath. A link left by a terminal that is gone is
    // replaced; a file, or a link to something that exists, is not. Empty, or why it failed.
    QString open(const QString& linkPath);
    // Closes the terminal and removes the link if it is still ours.
    void close();
    bool isOpen() const { return master_ >= 0; }
    QString linkPath() const { return link_; }
    QString devicePath() const { return device_; }

    // What the program has not read waits in the terminal; past its room the rest is lost.
    void write(const QByteArray& bytes);

signals:
    void received(const QByteArray& bytes);
    // Every program that opened the terminal has closed it again.
    void allClosed();

private:
    void readAvailable();
    // Our own end stays open, so the master never sees a program hang up: the device's opens
    // and closes tell when programs come and go.
    void watchOpens();
    void readOpens();

    int master_ = -1;
    // Held open so the master never reads a hang-up between two programs.
    int slave_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    int opens_ = -1; // the inotify descriptor
    QSocketNotifier* opensNotifier_ = nullptr;
    int openedBy_ = 0; // programs that have the terminal open
    QString link_;
    QString device_;
};

} // namespace platform
