// The message handler that keeps warnings, counts jams apart and passes every message on.
#include "warning_log.h"

#include <QtGlobal>

namespace bench {

namespace {

QtMessageHandler previous = nullptr;
QStringList warnings;
int jamWarnings = 0;

// The offscreen platform says this for every top-level window it shows; the program runs on
// a real display otherwise, where it is never said.
bool offscreenPlatformNote(const QString& text)
{
    return qgetenv("QT_QPA_PLATFORM") == "offscreen" &&
           text == QLatin1String("This plugin does not support propagateSizeHints()");
}

void record(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if ((type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) &&
        !offscreenPlatformNote(text)) {
        if (text.contains(QLatin1String("jam"), Qt::CaseInsensitive)) {
            ++jamWarnings;
        } else {
            const QString category =
                context.category ? QString::fromLatin1(context.category) : QString();
            warnings.append(category + QLatin1String(": ") + text);
        }
    }
    if (previous) {
        previous(type, context, text);
    }
}

} // namespace

void installWarningLog()
{
    previous = qInstallMessageHandler(record);
}

const QStringList& loggedWarnings()
{
    return warnings;
}

int loggedJamWarnings()
{
    return jamWarnings;
}

} // namespace bench
