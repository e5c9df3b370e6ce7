#include "ui/notice_label.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace ui {

QString elidePath(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    static const QRegularExpression pathPattern(QStringLiteral(R"([^\s:]*/[^\s]*[^\s.,:])"));
    QRegularExpressionMatch longest;
    for (auto it = pathPattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength() > longest.capturedLength()) {
            longest = match;
        }
    }
    if (!longest.hasMatch()) {
        return text;
    }
    const QString path = longest.captured();
    const int rest = metrics.horizontalAdvance(text) - metrics.horizontalAdvance(path);
    const QString shortPath = metrics.elidedText(path, Qt::ElideMiddle, std::max(0, width - rest));
    return QString(text).replace(longest.capturedStart(), longest.capturedLength(), shortPath);
}

NoticeLabel::NoticeLabel(QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("Notice"));
    // The bar's width, not the text's: the text is fitted to it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void NoticeLabel::setNotice(const std::string& text)
{
    if (text == text_) {
        return;
    }
    text_ = text;
    notice_ = QString::fromStdString(text);
    setToolTip(notice_);
    fit();
}

void NoticeLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fit();
}

void NoticeLabel::fit()
{
    setText(elidePath(notice_, fontMetrics(), contentsRect().width()));
}

} // namespace ui
