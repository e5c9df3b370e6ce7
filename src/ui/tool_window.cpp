// Tool windows' Close button and keys, and their first place beside the main window.
#include "ui/tool_window.h"

#include <QAction>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace ui {

namespace {

constexpr int kGap = 8;

// The window manager's frame around the neighbour, which a new window will get too.
QMargins frameOf(const QWidget* window)
{
    if (!window || !window->isVisible()) {
        return {};
    }
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// Where a span of length size starts: at preferred if it fits between low and high, else as
// near as it fits, else at low.
int fitted(int preferred, int size, int low, int high)
{
    return std::max(low, std::min(preferred, high - size + 1));
}

} // namespace

QPushButton* makeClosable(QWidget& window)
{
    auto* const close = new QAction(QObject::tr("Close"), &window);
    close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    close->setShortcutContext(Qt::WindowShortcut);
    window.addAction(close);
    QObject::connect(close, &QAction::triggered, &window, &QWidget::close);

    auto* const button = new QPushButton(QObject::tr("Close"), &window);
    button->setObjectName(QStringLiteral("CloseButton"));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, &window, &QWidget::close);
    return button;
}

void placeBeside(QWidget& window, const QWidget* neighbour, QSize preferred)
{
    const QScreen* const screen = neighbour ? neighbour->screen() : window.screen();
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(neighbour);
    const QSize room = area.size().shrunkBy(frame);
    const QSize size = preferred.boundedTo(room).expandedTo(window.minimumSizeHint());
    window.resize(size);

    const QSize outer = size.grownBy(frame);
    const QRect near = neighbour ? neighbour->frameGeometry() : QRect(area.topLeft(), QSize());
    int x = near.right() + 1 + kGap;
    if (x + outer.width() - 1 > area.right()) {
        const int left = near.left() - kGap - outer.width();
        x = left >= area.left() ? left : area.right() - outer.width() + 1;
    }
    window.move(fitted(x, outer.width(), area.left(), area.right()),
                fitted(near.top(), outer.height(), area.top(), area.bottom()));
}

} // namespace ui
