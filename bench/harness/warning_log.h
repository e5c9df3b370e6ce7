// The run's warnings, gathered for the report's verdict.
#pragma once

#include <QStringList>

namespace bench {

// Keeps every warning Qt or the program logs, and passes all messages on to the usual output.
// Jam reports are counted apart: the soak provokes them on purpose. The offscreen platform's
// note about size hints is not kept.
void installWarningLog();
const QStringList& loggedWarnings();
int loggedJamWarnings();

} // namespace bench
