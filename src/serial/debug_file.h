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

private:
    QString fileName_;
    bool failureReported_ = false;
};

} // namespace serial
