// The operator's clicks and typing on the window's controls, and the ticks it records.
#include "window_operator.h"

#include "monitor/bus_monitor_window.h"
#include "platform/text_numbers.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"
#include "wall_clock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>

namespace bench {

WindowOperator::WindowOperator(IcomWindow& window)
    : window_(window)
{
    display_ = &control<QLabel>("FreqDisplay");
    shown_ = display_->text();
}

void WindowOperator::watchTicks(std::size_t count)
{
    tickEnds_.reserve(count);
    // Connected after the window's own slot, so this runs once the tick's parsing is done:
    // the display can only change inside a tick.
    QObject::connect(&control<QTimer>("Timer1"), &QTimer::timeout, &window_,
                     [this] { afterTick(); });
}

template <class T> T& WindowOperator::control(const char* name) const
{
    T* found = window_.findChild<T*>(QLatin1String(name));
    if (!found) {
        std::fprintf(stderr, "harness: the window has no control %s\n", name);
        std::exit(2);
    }
    return *found;
}

bool WindowOperator::chooseBaud(int rate)
{
    auto& popup = control<QComboBox>("BaudPopup");
    const int row = popup.findText(QString::number(rate));
    if (row < 0) {
        return false;
    }
    popup.setCurrentIndex(row);
    return true;
}

void WindowOperator::tick(const char* checkBoxName)
{
    control<QCheckBox>(checkBoxName).setChecked(true);
}

void WindowOperator::typeFrequency(const QString& khz)
{
    auto& field = control<QLineEdit>("EditFreq");
    field.selectAll();
    field.insert(khz);
    control<QToolButton>("SetFreq1").click();
}

void WindowOperator::stopPolling()
{
    control<QTimer>("ReqTimer").stop();
}

void WindowOperator::openBusMonitor()
{
    window_.menuBar1()->busMonitorAction()->trigger();
}

int WindowOperator::fillBusMonitor(int rows)
{
    openBusMonitor();
    auto* monitor = window_.findChild<monitor::BusMonitorWindow*>();
    line::FrameEvent poll(line::Direction::Sent, line::Kind::Frame,
                          {0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD});
    poll.wireLength = poll.bytes.size();
    // Only a data byte changes below, so the view read here stays true.
    line::FrameEvent reply(line::Direction::Received, line::Kind::Frame,
                           {0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});
    reply.wireLength = reply.bytes.size();
    reply.roundTrip = 30;
    for (int i = 0; i < rows / 2; ++i) {
        // A different frequency in every reply, so no two rows are alike.
        reply.bytes[5] = static_cast<std::uint8_t>(i % 100 / 10 * 16 + i % 10);
        poll.request = reply.request = static_cast<std::uint64_t>(i);
        poll.at = reply.at = window_.door().now();
        emit window_.door().taps().frame(poll);
        emit window_.door().taps().frame(reply);
    }
    monitor->updateRows();
    return monitor->findChild<QTableView*>(QStringLiteral("rows"))->model()->rowCount();
}

int WindowOperator::ourAddress() const
{
    return platform::integerValue(control<QLineEdit>("OurIDEditField").text());
}

void WindowOperator::afterTick()
{
    const WallTime now = std::chrono::system_clock::now();
    tickEnds_.push_back(now);
    const QString text = display_->text();
    if (text != shown_) {
        shown_ = text;
        changes_.push_back({msOfDay(now), text});
    }
}

std::vector<double> WindowOperator::tickEnds() const
{
    std::vector<double> out;
    out.reserve(tickEnds_.size());
    for (const WallTime t : tickEnds_) {
        out.push_back(msOfDay(t));
    }
    return out;
}

} // namespace bench
