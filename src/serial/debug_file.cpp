// The debug file: received bytes as hex text, and what the status bar says of it.
#include "serial/debug_file.h"

#include "platform/logging.h"
#include "platform/text_file.h"

#include <QFileInfo>

namespace serial {

bool DebugFile::AddToDebugFile(const QString& text)
{
    qCDebug(lcDebugLog).noquote() << text;
    const bool worked = error_.isEmpty();
    error_ = platform::appendToTextFile(fileName_, text);
    if (error_.isEmpty()) {
        failureReported_ = false;
        return !worked;
    }
    // Once per run of failures: a full disk must not flood the log three times a tick.
    if (!failureReported_) {
        failureReported_ = true;
        qCWarning(lcDebugLog) << "cannot write" << fileName_ << ":" << error_;
    }
    return worked;
}

void DebugFile::check()
{
    error_ = platform::appendError(fileName_);
}

QString DebugFile::path() const
{
    return QFileInfo(fileName_).absoluteFilePath();
}

QString DebugFile::notice() const
{
    return error_.isEmpty()
               ? QStringLiteral("Received bytes go to %1").arg(path())
               : QStringLiteral("Received bytes cannot be written to %1: %2").arg(path(), error_);
}

} // namespace serial
