// The failed-open box: its text, its detail, and when it is shown.
#pragma once

#include "platform/open_error.h"
#include "platform/services.h"

#include <QLatin1String>
#include <QString>

class QObject;
class QWidget;

namespace serial {

// The failed-open box's text.
inline constexpr QLatin1String kOpenFailure{"Failure to open serial  port!!"};

// Below it: the port, the reason and what to do. The box may come up long after the choice, at
// start-up or from a pop-up, so it names the port.
QString openFailureDetail(const QString& port, const QString& reason, platform::OpenError error);

// The box, once the handler or the tick that found the failure has returned: the pump and the
// notices go on while it is open. Not shown once context, its parent, is gone.
void tellOpenFailure(QObject* context, QWidget* parent, const platform::Services::Message& message,
                     const QString& port, const QString& reason, platform::OpenError error);

} // namespace serial
