#include "components/WindowPlacement.h"

#include <QApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// The frame the window manager draws around a window. Before a window is first shown its
// frame is unknown: the owner's frame (drawn by the same window manager) stands in for it.
QMargins FrameOf(const QWidget& window, const QWidget* owner)
{
    const auto margins = [](const QWidget& w) {
        const QRect f = w.frameGeometry();
        const QRect g = w.geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    };
    if (window.testAttribute(Qt::WA_WState_Created) && window.frameGeometry() != window.geometry())
        return margins(window);
    if (owner != nullptr && owner->isVisible())
        return margins(*owner);
    return {};
}

// Where the window opens over: the owner, or the owner's own window the user works in (a
// learning window over the main window that asks for a message) when that one is active.
const QWidget* Anchor(const QWidget& window, const QWidget* owner)
{
    if (owner == nullptr)
        return nullptr;
    owner = owner->window();
    QWidget* active = QApplication::activeWindow();
    if (active == nullptr || active == &window || active == owner || !active->isVisible())
        return owner;
    for (const QWidget* w = active->parentWidget(); w != nullptr; w = w->parentWidget())
        if (w->window() == owner)
            return active;
    return owner;
}

}  // namespace

void PlaceOnOwner(QWidget& window, const QWidget* owner)
{
    owner = Anchor(window, owner);
    const bool onOwner = owner != nullptr && owner != &window && owner->isVisible();
    QScreen* screen = onOwner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = FrameOf(window, onOwner ? owner : nullptr);
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();

    // A window that may be resized never opens larger than the work area.
    QSize size = window.size();
    const QSize fit(area.width() - frameWidth, area.height() - frameHeight);
    if (size.width() > fit.width() || size.height() > fit.height()) {
        const QSize bounded = size.boundedTo(fit).expandedTo(window.minimumSize());
        if (bounded != size) {
            window.resize(bounded);
            size = window.size();
        }
    }

    QRect outer(QPoint(0, 0), QSize(size.width() + frameWidth, size.height() + frameHeight));
    outer.moveCenter(onOwner ? owner->frameGeometry().center() : area.center());
    // Inside the work area; where the window is larger than it, its top-left corner shows.
    outer.moveLeft(std::max(area.left(), std::min(outer.left(), area.right() + 1 - outer.width())));
    outer.moveTop(std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - outer.height())));
    // Placed by its client area: before the window is first shown the window system does not
    // know its frame, and would put the frame's corner where the client's belongs.
    window.setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), size));
}
