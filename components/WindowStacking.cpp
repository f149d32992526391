#include "components/WindowStacking.h"

#include "components/WindowFrame.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

class TOwnWindowsAbove final : public QObject {
public:
    explicit TOwnWindowsAbove(QWidget& main)
        : QObject(&main),
          main_(&main),
          onTop_(StaysOnTop(main))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Every event of the program passes here: the three that matter are picked out first.
        const QEvent::Type type = event->type();
        if (type != QEvent::Show && type != QEvent::ParentChange && type != QEvent::WindowActivate)
            return false;
        if (!watched->isWidgetType() || main_ == nullptr)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == main_.data()) {
            if (type == QEvent::WindowActivate)
                MainActivated();
            else
                MainChanged(type == QEvent::Show && !event->spontaneous());
        } else if (type == QEvent::Show && !event->spontaneous() && Follows(*widget)) {
            // Sent just before the window is mapped: it is mapped with the state.
            const bool again = Known(*widget);
            TWindow& w = Remember(*widget);
            if (onTop_ || w.KeptAbove)
                RequestKeptAbove(*widget, onTop_);
            w.KeptAbove = onTop_;
            // Shown again soon after it was hidden, the window may not be withdrawn yet: the
            // window manager then drops that state as it withdraws it. Once mapped, the window
            // asks for it once more.
            if (onTop_ && again)
                QTimer::singleShot(0, this, [this, shown = QPointer<QWidget>(widget)] {
                    if (shown && onTop_ && shown->isVisible())
                        RequestKeptAbove(*shown, true);
                });
        }
        return false;
    }

private:
    static bool StaysOnTop(const QWidget& w) { return w.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

    // A window the user works in that the window manager stacks: not a menu, tool tip or
    // splash screen, nor one that stays on top (or at the bottom) by its own flags.
    static bool Follows(const QWidget& w)
    {
        if (!w.isWindow() || w.testAttribute(Qt::WA_DontShowOnScreen))
            return false;
        switch (w.windowType()) {
        case Qt::Window:
        case Qt::Dialog:
        case Qt::Sheet:
        case Qt::Tool:
            break;
        default:
            return false;
        }
        const Qt::WindowFlags flags = w.windowFlags();
        return !flags.testAnyFlags(Qt::WindowStaysOnTopHint | Qt::WindowStaysOnBottomHint
                                   | Qt::BypassWindowManagerHint);
    }

    struct TWindow {
        QPointer<QWidget> Widget;
        bool KeptAbove = false;  // given the state here
    };

    bool Known(const QWidget& w) const
    {
        return std::any_of(windows_.begin(), windows_.end(), [&w](const TWindow& e) { return e.Widget.data() == &w; });
    }

    // In the order they were last shown: raised in this order, the last one ends on top.
    TWindow& Remember(QWidget& w)
    {
        TWindow entry{&w};
        const auto same = [&w](const TWindow& e) { return e.Widget.data() == &w; };
        if (const auto it = std::find_if(windows_.begin(), windows_.end(), same); it != windows_.end())
            entry.KeptAbove = it->KeptAbove;
        std::erase_if(windows_, [&](const TWindow& e) { return e.Widget.isNull() || same(e); });
        windows_.push_back(entry);
        return windows_.back();
    }

    bool Shown(const TWindow& w) const { return w.Widget && w.Widget->isVisible() && Follows(*w.Widget); }

    // The main window's flags change while it is hidden (and it is shown again at once when
    // it was visible); it is shown from the tray as well.
    void MainChanged(bool shown)
    {
        const bool onTop = StaysOnTop(*main_);
        if (onTop != onTop_) {
            onTop_ = onTop;
            for (TWindow& w : windows_)
                if (Shown(w) && w.KeptAbove != onTop) {
                    RequestKeptAbove(*w.Widget, onTop);
                    w.KeptAbove = onTop;
                }
        }
        // Mapped again, the main window goes on top of the others: they come back above it
        // once it is mapped (without a window manager nothing else would), and once more when
        // it has been made the active window (which a window manager brings to the front).
        if (shown && onTop
            && std::any_of(windows_.begin(), windows_.end(), [this](const TWindow& w) { return Shown(w); })) {
            raiseOnActivation_ = true;
            QTimer::singleShot(0, this, [this] { RaiseShown(); });
        }
    }

    void MainActivated()
    {
        if (!raiseOnActivation_)
            return;
        raiseOnActivation_ = false;
        RaiseShown();
        // A window manager may bring the active window to the front only after it told it so.
        QTimer::singleShot(250, this, [this] { RaiseShown(); });
    }

    void RaiseShown()
    {
        if (main_ == nullptr || !onTop_)
            return;
        for (const TWindow& w : std::vector<TWindow>(windows_))
            if (Shown(w))
                w.Widget->raise();
    }

    QPointer<QWidget> main_;
    bool onTop_;
    std::vector<TWindow> windows_;
    bool raiseOnActivation_ = false;
};

}  // namespace

void KeepOwnWindowsAbove(QWidget& mainWindow)
{
    new TOwnWindowsAbove(mainWindow);
}
