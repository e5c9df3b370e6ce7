// The status bar's notices and the label that shows them.
#include "ui/notice_board.h"

#include "ui/notice_label.h"

#include <QStatusBar>

namespace ui {

NoticeBoard::NoticeBoard(QStatusBar* bar)
    : label_(new NoticeLabel(bar))
{
    // Permanent: a status tip, as a hovered menu shows one, never hides it.
    bar->addPermanentWidget(label_, 1);
}

void NoticeBoard::tell(radio::Notice kind, const QString& text, const QString& subject)
{
    if (notices_.set(kind, {text.toStdString(), subject.toStdString()})) {
        show();
    }
}

bool NoticeBoard::update(const line::LinkAccount& account, const radio::LineView& view)
{
    line_.update(notices_, account, view);
    show();
    return !notices_.text(radio::Notice::Silence).empty();
}

void NoticeBoard::show()
{
    label_->setNotice(notices_.shown());
}

} // namespace ui
