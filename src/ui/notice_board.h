// The status bar's notices: what holds now, decided from the link account and the window.
#pragma once

#include "radio/line_notices.h"
#include "radio/notices.h"

#include <QString>

class QStatusBar;

namespace ui {

class NoticeLabel;

// The notices of the line and of the window, and the one label in the status bar that shows
// the most important of them.
class NoticeBoard {
public:
    explicit NoticeBoard(QStatusBar* bar);

    // An empty text clears the notice of that kind. The subject, the port or file it is about,
    // stays whole where the text is cut.
    void tell(radio::Notice kind, const QString& text, const QString& subject = {});
    // Each frame event, in order.
    void take(const line::FrameEvent& event, int radioId) { line_.take(event, radioId); }
    // The line's notices from the account's present state. True while the radio is silent.
    bool update(const line::LinkAccount& account, const radio::LineView& view);
    // Shows what an event may have changed.
    void show();

private:
    radio::Notices notices_;
    radio::LineNotices line_;
    NoticeLabel* label_;
};

} // namespace ui
