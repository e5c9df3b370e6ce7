#include "serial/debug_file.h"

#include "platform/logging.h"
#include "platform/text_file.h"

namespace serial {

void DebugFile::AddToDebugFile(const QString& text)
{
    qCDebug(lcDebugLog).noquote() << text;
    error_ = platform::appendToTextFile(fileName_, text);
    if (error_.isEmpty()) {
        failureReported_ = false;
        return;
    }
    // Once per run of failures: a full disk must not flood the log three times a tick.
    if (!failureReported_) {
        failureReported_ = true;
        qCWarning(lcDebugLog) << "cannot write" << fileName_ << ":" << error_;
    }
}

void DebugFile::check()
{
    error_ = platform::appendError(fileName_);
}

} // namespace serial
