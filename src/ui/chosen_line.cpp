// The line as the main window's controls choose it.
#include "ui/chosen_line.h"

#include "civ/address.h"
#include "platform/tcp_connection.h"
#include "serial/baud_rates.h"

namespace ui {

line::Settings chosenLine(const QString& location, int baudCode, const QString& ourText,
                          const QString& radioText)
{
    line::Settings settings;
    settings.port = location.toStdString();
    settings.network = platform::TcpConnection::isTcpLocation(location);
    settings.baudCode = baudCode;
    settings.rate = serial::baudRateForCode(baudCode);
    settings.ourId = civ::readAddress(ourText.toStdString()).value_or(-1);
    settings.radioId = civ::readAddress(radioText.toStdString()).value_or(-1);
    return settings;
}

} // namespace ui
