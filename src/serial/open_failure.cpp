// The failed-open box: its detail, and when it is shown.
#include "serial/open_failure.h"

#include <QObject>

namespace serial {

namespace {

QString openFailureHint(platform::OpenError error)
{
    switch (error) {
    case platform::OpenError::PermissionDenied:
        return QObject::tr("Add your user to the dialout group (sudo adduser $USER dialout), then "
                           "log out and in again.");
    case platform::OpenError::Busy:
        return QObject::tr("Another program holds the port: close it, then choose the port again.");
    case platform::OpenError::NotFound:
        return QObject::tr("The device is gone: plug it in, then choose it again.");
    case platform::OpenError::None:
    case platform::OpenError::Other:
        break;
    }
    return {};
}

} // namespace

QString openFailureDetail(const QString& port, const QString& reason, platform::OpenError error)
{
    const QString hint = openFailureHint(error);
    const QString head = port + QStringLiteral(": ") + reason;
    return hint.isEmpty() ? head : head + QLatin1Char('\n') + hint;
}

void tellOpenFailure(QObject* context, QWidget* parent, const platform::Services::Message& message,
                     const QString& port, const QString& reason, platform::OpenError error)
{
    QMetaObject::invokeMethod(
        context,
        [parent, message, detail = openFailureDetail(port, reason, error)] {
            message(parent, kOpenFailure, detail);
        },
        Qt::QueuedConnection);
}

} // namespace serial
