// The status bar's notice label, and a notice's text cut to fit its width.
#pragma once

#include "radio/notices.h"

#include <QLabel>

namespace ui {

// The status bar's notice: a permanent widget, so menu hovering and status tips never wipe it.
// Its whole text is in its tooltip; what is painted is cut at a word where the text does not
// fit, and always holds the notice's subject.
class NoticeLabel : public QLabel {
    Q_OBJECT

public:
    explicit NoticeLabel(QWidget* parent);

    // The same notice again costs a comparison only: the window sets it at every tick.
    void setNotice(const radio::NoticeText& notice);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    radio::NoticeText notice_;
    QString text_;
    QString subject_;
};

// text as it fits width: whole, or its words up to where they fit and an ellipsis, but never
// fewer than up to the end of the first occurrence of subject. Only a subject too wide for
// that is shortened, in its middle.
QString fitNotice(const QString& text, const QString& subject, const QFontMetrics& metrics,
                  int width);

} // namespace ui
