// The queue status line readied, and its text set at each tick but painted only now and then.
#include "ui/paint_cadence.h"

#include <QLabel>

namespace ui {

void PaintCadence::prepareStatusLine(QLabel& line)
{
    // Named, it is not announced again at each new text; filled, its paint leaves the window
    // behind it alone; away from the window's edges, it need not ask the window for safe-area
    // margins at each new text.
    line.setAccessibleName(QLabel::tr("Transmit queue"));
    line.setAutoFillBackground(true);
    line.setAttribute(Qt::WA_ContentsMarginsRespectsSafeArea, false);
}

void PaintCadence::showStatus(QLabel& line, const civ::TransmitQueue& ring)
{
    const QString& text =
        text_.next(ring.serialBufHead, ring.serialBufTail, ring.queued(), ring.sendDelay);
    const bool paint = ticks_ == 0 && text != painted_;
    // Re-enabling updates repaints, so they are switched only when that is wanted.
    if (line.updatesEnabled() != paint) {
        line.setUpdatesEnabled(paint);
    }
    line.setText(text);
    if (paint) {
        painted_ = text;
    }
}

} // namespace ui
