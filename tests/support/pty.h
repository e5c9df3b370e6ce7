// The tests' stand-in for a serial device: a pseudo-terminal, its settings and its hang-up.
#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal whose slave the program opens as its serial port; the test holds the
// master and reads the line settings the program left on it.
class Pty {
public:
    struct Line {
        unsigned speed = 0;
        bool twoStopBits = false;
        bool softwareFlow = false;
        bool hardwareFlow = false;
    };

    Pty();
    ~Pty() { hangUp(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    QString slavePath() const { return slavePath_; }
    Line line() const;
    // Settings the program must undo: 110 bit/s, two stop bits, both flow controls.
    void preset() const;
    // What the program wrote and the master has not read yet.
    QByteArray take() const;
    // The device goes away under the program.
    void hangUp();

private:
    int master_ = -1;
    QString slavePath_;
};
