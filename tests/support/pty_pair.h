#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QString>
#include <optional>

// The line settings the program's side of a pseudo-terminal carries, as the kernel holds them.
struct LineSettings {
    unsigned inputSpeed = 0;
    unsigned outputSpeed = 0;
    // Always 8 and false on a pty: its driver overrides whatever is asked.
    int dataBits = 0;
    bool parity = false;
    bool twoStopBits = false;
    bool xonXoff = false;
    bool rtsCts = false;
};

// Reads the slave's settings through the master descriptor (TCGETS2 on a master answers for
// its slave). Kept apart because <asm/termbits.h> cannot share a file with <termios.h>.
std::optional<LineSettings> readLineSettings(int masterFd);

// A pseudo-terminal: the program opens slavePath() as its serial port, the test plays the bus
// on the master. Both sides start raw; the master never blocks.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    QString error() const { return error_; }
    QString slavePath() const { return slavePath_; }

    // Leaves settings the program has to undo: 110 bit/s, 2 stop bits, XON/XOFF and RTS/CTS.
    // Data bits and parity cannot be preset: the pty driver forces 8 bits and no parity.
    bool presetForeignSettings();

    // Puts bytes on the program's receive side.
    bool write(QByteArrayView bytes);
    // Waits, without running the event loop, until the program's side holds at least count
    // unread bytes, so that its next read is sure to see them.
    bool waitUntilPending(qsizetype count, QDeadlineTimer deadline = QDeadlineTimer(5000));

    // What the program sent, read until count bytes arrived or the deadline passed. The Qt event
    // loop runs while waiting, so buffered writes on the program's side get out.
    QByteArray read(qsizetype count, QDeadlineTimer deadline = QDeadlineTimer(5000));
    // Everything the program has written so far: a marker is sent behind it from the slave side
    // and the master is read up to the marker. Does not run the event loop.
    QByteArray drainWritten(QDeadlineTimer deadline = QDeadlineTimer(5000));

    std::optional<LineSettings> lineSettings() const { return readLineSettings(master_); }

    // The port vanishes: the program's open slave is hung up and the path disappears.
    void closeMaster();

private:
    QByteArray readMaster(qsizetype max);

    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QString error_;
    QByteArray pending_;
};
