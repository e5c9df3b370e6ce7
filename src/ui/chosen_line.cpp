// The line as the main window's controls choose it.
#include "ui/chosen_line.h"

#include "civ/frame.h"
#include "platform/tcp_connection.h"
#include "platform/text_numbers.h"
#include "serial/baud_rates.h"

namespace ui {

namespace {

// The window's own frames read an empty or wordy field as 0; to the additions it holds no
// address.
int addressIn(const QString& typed)
{
    const QString text = typed.trimmed();
    const qsizetype first = text.startsWith(u'+') ? 1 : 0;
    const bool number = first < text.size() && text[first].isDigit() && text[first].unicode() < 128;
    const int value = platform::integerValue(typed);
    return number && civ::isEncodableAddress(value) ? value : -1;
}

} // namespace

line::Settings chosenLine(const QString& location, int baudCode, const QString& ourText,
                          const QString& radioText)
{
    line::Settings settings;
    settings.port = location.toStdString();
    settings.network = platform::TcpConnection::isTcpLocation(location);
    settings.baudCode = baudCode;
    settings.rate = serial::baudRateForCode(baudCode);
    settings.ourId = addressIn(ourText);
    settings.radioId = addressIn(radioText);
    return settings;
}

} // namespace ui
