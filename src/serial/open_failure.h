#pragma once

#include "platform/open_error.h"

#include <QLatin1String>
#include <QString>

namespace serial {

// The failed-open box's text.
inline constexpr QLatin1String kOpenFailure{"Failure to open serial  port!!"};

// Below it: the port, the reason and what to do. The box may come up long after the choice, at
// start-up or from a pop-up, so it names the port.
QString openFailureDetail(const QString& port, const QString& reason, platform::OpenError error);

} // namespace serial
