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

    void AddToDebugFile(const QString& text);

    const QString& fileName() const { return fileName_; }
    // Why the last write failed, or why a first one would; empty while writing works.
    const QString& error() const { return error_; }
    void check();

private:
    QString fileName_;
    QString error_;
    bool failureReported_ = false;
};

} // namespace serial
