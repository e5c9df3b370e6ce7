// A notice fitted to the label's width, its subject kept whole or shortened in its middle.
#include "ui/notice_label.h"

#include <QFontMetrics>

namespace ui {

namespace {

const QChar kEllipsis(0x2026);

// The subject shortened to room, with the text around it: all of what follows while that
// leaves the subject a third of the width, else only an ellipsis for it.
QString shortenSubject(const QString& text, qsizetype at, qsizetype end,
                       const QFontMetrics& metrics, int width)
{
    const QString before = text.left(at);
    const QString subject = text.mid(at, end - at);
    QString after = text.mid(end);
    int room = width - metrics.horizontalAdvance(before + after);
    if (room < width / 3 && !after.isEmpty()) {
        after = kEllipsis;
        room = width - metrics.horizontalAdvance(before + after);
    }
    return before + metrics.elidedText(subject, Qt::ElideMiddle, std::max(room, 0)) + after;
}

} // namespace

QString fitNotice(const QString& text, const QString& subject, const QFontMetrics& metrics,
                  int width)
{
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    const qsizetype found = subject.isEmpty() ? -1 : text.indexOf(subject);
    const qsizetype at = std::max<qsizetype>(found, 0);
    const qsizetype end = found < 0 ? 0 : found + subject.size();
    for (qsizetype cut = text.lastIndexOf(u' '); cut >= end && cut > 0;
         cut = text.lastIndexOf(u' ', cut - 1)) {
        QString head = text.left(cut);
        while (head.size() > end && QStringLiteral(".,:;").contains(head.back())) {
            head.chop(1);
        }
        head += kEllipsis;
        if (metrics.horizontalAdvance(head) <= width) {
            return head;
        }
    }
    return shortenSubject(text, at, end, metrics, width);
}

NoticeLabel::NoticeLabel(QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("Notice"));
    // A path may hold anything that looks like markup.
    setTextFormat(Qt::PlainText);
    // The bar's width, not the text's: the text is fitted to it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void NoticeLabel::setNotice(const radio::NoticeText& notice)
{
    if (notice == notice_) {
        return;
    }
    notice_ = notice;
    text_ = QString::fromStdString(notice.text);
    subject_ = QString::fromStdString(notice.subject);
    setToolTip(text_);
    fit();
}

void NoticeLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fit();
}

void NoticeLabel::fit()
{
    setText(fitNotice(text_, subject_, fontMetrics(), contentsRect().width()));
}

} // namespace ui
