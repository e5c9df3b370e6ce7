// The debug file: received bytes as hex text, appended on every call.
#pragma once

#include <QString>

namespace serial {

// Received bytes as hex text, to the debug log and appended to a file that is opened and
// closed on every call, so it is complete on disk between calls.
class DebugFile {
public:
    explicit DebugFile(QString fileName)
        : fileName_(std::move(fileName))
    {}

    // True when writing began or ceased to work.
    bool AddToDebugFile(const QString& text);

    const QString& fileName() const { return fileName_; }
    // Where a bare file name lands depends on the folder the program was started in.
    QString path() const;
    // Why the last write failed, or why a first one would; empty while writing works.
    const QString& error() const { return error_; }
    void check();
    // The status bar's word on it, at its whole path.
    QString notice() const;

private:
    QString fileName_;
    QString error_;
    bool failureReported_ = false;
};

} // namespace serial
