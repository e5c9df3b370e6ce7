#pragma once

#include <QLabel>
#include <string>

namespace ui {

// The status bar's notice: a permanent widget, so menu hovering and status tips never wipe it.
// Its whole text is in its tooltip; when the text does not fit, the longest path in it is
// shortened in the middle, so the advice at the end stays readable.
class NoticeLabel : public QLabel {
    Q_OBJECT

public:
    explicit NoticeLabel(QWidget* parent);

    // The same text again costs a comparison only: the window sets it at every tick.
    void setNotice(const std::string& text);
    const QString& notice() const { return notice_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    std::string text_;
    QString notice_;
};

// text with its longest run holding a '/' elided in the middle until it fits width; text itself
// when it fits or holds no path.
QString elidePath(const QString& text, const QFontMetrics& metrics, int width);

} // namespace ui
