#include "components/TrayIcon.h"

#include "platform/qt/Balloon.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QWidget>

#include <algorithm>

namespace {

constexpr std::uint32_t EnterExitPeriod = 20;  // ms between checks whether the mouse left

// The tip the tray shows: at most MaxHintLength UTF-16 units, never half a surrogate pair.
QString TrayTip(const QString& hint)
{
    QString tip = hint.left(TTrayIcon::MaxHintLength);
    if (tip.size() < hint.size() && !tip.isEmpty() && tip.back().isHighSurrogate())
        tip.chop(1);
    return tip;
}

Qt::KeyboardModifiers ShiftState()
{
    return QGuiApplication::queryKeyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

}  // namespace

TTrayIcon::TTrayIcon(QWidget* owner)
    : QObject(owner),
      FOwner(owner),
      FCycleTimer(0, [this](TSimpleTimer&) { CycleStep(); }),
      FClickTimer(0, [this](TSimpleTimer&) { ClickTimerTick(); }),
      FEnterExitTimer(EnterExitPeriod, [this](TSimpleTimer&) { EnterExitTick(); })
{
    FShellIcon.setObjectName(QStringLiteral("ShellIcon"));
    connect(&FShellIcon, &QSystemTrayIcon::activated, this, &TTrayIcon::Activated);
    connect(&FShellIcon, &QSystemTrayIcon::messageClicked, this, &TTrayIcon::OnBalloonHintClick);
    // The program's balloon (a desktop notification, or our own window): how it goes.
    connect(&Balloon::Events(), &Balloon::TBalloonEvents::Clicked, this, &TTrayIcon::OnBalloonHintClick);
    connect(&Balloon::Events(), &Balloon::TBalloonEvents::Hidden, this, &TTrayIcon::OnBalloonHintHide);
    connect(&Balloon::Events(), &Balloon::TBalloonEvents::TimedOut, this, &TTrayIcon::OnBalloonHintTimeout);
    if (owner)
        owner->installEventFilter(this);
}

TTrayIcon::~TTrayIcon()
{
    if (FIconVisible)
        RemoveShellIcon();
}

bool TTrayIcon::Loaded()
{
    const bool show = OnStartup ? OnStartup() : true;
    if (show || !TrayAvailable())
        return true;  // without a tray a hidden window could never come back
    HideMainForm();
    SetIconVisible(true);
    return false;
}

bool TTrayIcon::TrayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::RefreshShellRecord()
{
    FShellIcon.setIcon(FIcon);
    FShellIcon.setToolTip(FShowHint && !FHint.isEmpty() ? TrayTip(FHint) : QString());
}

void TTrayIcon::AddShellIcon()
{
    FIconVisible = true;
    RefreshShellRecord();
    FShellIcon.show();
}

void TTrayIcon::RemoveShellIcon()
{
    FIconVisible = false;
    RefreshShellRecord();
    FShellIcon.hide();
}

void TTrayIcon::UpdateShellIcon()
{
    RefreshShellRecord();
}

void TTrayIcon::SetIconList(const QList<QIcon>& list)
{
    FIconList = list;
    FIconIndex = 0;
}

void TTrayIcon::SetCycleIcons(bool value)
{
    FCycleIcons = value;
    if (value) {
        FIconIndex = 0;
        FCycleTimer.SetPeriod(FCycleInterval);
        FCycleTimer.SetActive(true);
    } else {
        FCycleTimer.SetActive(false);
    }
}

void TTrayIcon::SetCycleInterval(std::uint32_t value)
{
    FCycleInterval = value;
    SetCycleIcons(FCycleIcons);
}

void TTrayIcon::SetHint(const QString& value)
{
    FHint = value;
    UpdateShellIcon();
}

void TTrayIcon::SetShowHint(bool value)
{
    FShowHint = value;
    UpdateShellIcon();
}

void TTrayIcon::SetIcon(const QIcon& value)
{
    FIcon = value;
    UpdateShellIcon();
}

void TTrayIcon::SetIconVisible(bool value)
{
    if (value)
        AddShellIcon();
    else
        RemoveShellIcon();
}

void TTrayIcon::SetIconIndex(int value)
{
    if (FIconList.isEmpty()) {
        FIconIndex = 0;
    } else {
        FIconIndex = std::clamp(value, 0, static_cast<int>(FIconList.size()) - 1);
        FIcon = FIconList[FIconIndex];
    }
    UpdateShellIcon();
}

void TTrayIcon::SetWantEnterExitEvents(bool value)
{
    FWantEnterExitEvents = value;
    FEnterExitTimer.SetActive(value);
}

void TTrayIcon::HideApplicationWindow()
{
    if (FOwner && FOwner->isVisible() && TrayAvailable())
        FOwner->hide();
}

void TTrayIcon::HideMainForm()
{
    if (FOwner)
        HideApplicationWindow();
}

// The tray reports whole clicks; they become the mouse messages a click is made of, each
// after a move to where the mouse is.
void TTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger: {
        // A second press on the icon within the double-click time is a double click, also
        // when the hand moved a few pixels between the presses (the toolkit then reports
        // two single presses and no double click).
        const bool second =
            FLastLeftPress.isValid() && FLastLeftPress.elapsed() < std::max(1, QApplication::doubleClickInterval());
        FDoubleReported = false;
        MouseAction(TMouse::Move);
        if (second) {
            FLastLeftPress.invalidate();
            FDoubleReported = true;  // the toolkit's own report of this pair may follow
            MouseAction(TMouse::LeftDouble);
        } else {
            FLastLeftPress.start();
            MouseAction(TMouse::LeftDown);
        }
        MouseAction(TMouse::LeftUp);
        break;
    }
    case QSystemTrayIcon::DoubleClick:
        if (FDoubleReported) {
            FDoubleReported = false;
            break;
        }
        FLastLeftPress.invalidate();
        MouseAction(TMouse::LeftDouble);
        MouseAction(TMouse::LeftUp);
        break;
    case QSystemTrayIcon::Context:
        FLastLeftPress.invalidate();
        MouseAction(TMouse::Move);
        MouseAction(TMouse::RightDown);
        MouseAction(TMouse::RightUp);
        break;
    case QSystemTrayIcon::MiddleClick:
        FLastLeftPress.invalidate();
        MouseAction(TMouse::Move);
        MouseAction(TMouse::MiddleDown);
        MouseAction(TMouse::MiddleUp);
        break;
    default:
        break;
    }
}

void TTrayIcon::MouseAction(TMouse action)
{
    if (!FEnabled)
        return;
    const QPoint pos = QCursor::pos();
    const Qt::KeyboardModifiers shift = ShiftState();
    switch (action) {
    case TMouse::Move:
        if (FWantEnterExitEvents && FCursorOutside) {
            FCursorOutside = false;
            emit OnMouseEnter();
        }
        emit OnMouseMove(shift, pos);
        FLastMove = pos;
        break;
    case TMouse::LeftDown:
        if (isSignalConnected(QMetaMethod::fromSignal(&TTrayIcon::OnDblClick))) {
            FClickTimer.SetPeriod(static_cast<std::uint32_t>(std::max(1, QApplication::doubleClickInterval())));
            FClickTimer.Arm();
        }
        emit OnMouseDown(Qt::LeftButton, shift, pos);
        FClickStart = true;
        if (FLeftPopup)
            ShowPopup();
        break;
    case TMouse::LeftUp:
        if (FClickStart) {
            FClickReady = true;
            if (!FClickTimer.Active()) {
                FClickStart = FClickReady = false;
                emit OnClick();
            }
        }
        FClickStart = false;
        emit OnMouseUp(Qt::LeftButton, shift, pos);
        break;
    case TMouse::LeftDouble:
        FClickReady = false;
        // Only a click still waiting can be cancelled; a late double click must not swallow
        // the next single one.
        FDoubleClicked = FClickTimer.Active();
        emit OnDblClick();
        if (FPopupMenu && !FLeftPopup && FPopupMenu->defaultAction())
            FPopupMenu->defaultAction()->trigger();
        break;
    case TMouse::RightDown:
        emit OnMouseDown(Qt::RightButton, shift, pos);
        ShowPopup();
        break;
    case TMouse::RightUp:
        emit OnMouseUp(Qt::RightButton, shift, pos);
        break;
    case TMouse::MiddleDown:
        emit OnMouseDown(Qt::MiddleButton, shift, pos);
        break;
    case TMouse::MiddleUp:
        emit OnMouseUp(Qt::MiddleButton, shift, pos);
        break;
    }
}

void TTrayIcon::ShowPopup()
{
    if (FPopupMenu)
        FPopupMenu->popup(QCursor::pos());
}

// One double-click time after a press: a click that no double click followed.
void TTrayIcon::ClickTimerTick()
{
    FClickTimer.Disarm(true);
    FLastLeftPress.invalidate();  // the double-click time is over
    if (!FDoubleClicked && FClickReady) {
        FClickReady = false;
        emit OnClick();
    }
    FDoubleClicked = false;
}

void TTrayIcon::EnterExitTick()
{
    const QPoint pos = QCursor::pos();
    // The tray sends no moves of its own: a cursor over the icon that moved is a move.
    if (FShellIcon.isVisible() && FShellIcon.geometry().contains(pos) && (pos != FLastMove || FCursorOutside))
        MouseAction(TMouse::Move);
    if (!FCursorOutside && pos != FLastMove) {
        FCursorOutside = true;
        emit OnMouseExit();
    }
}

void TTrayIcon::CycleStep()
{
    if (FIconList.isEmpty())
        return;
    const int index = std::clamp(FIconIndex, 0, static_cast<int>(FIconList.size()) - 1);
    SetIcon(FIconList[index]);
    const int next = index + 1 < FIconList.size() ? index + 1 : 0;
    emit OnCycle(next);
    FIconIndex = next;
}

void TTrayIcon::MinimizeToTrayNow()
{
    HideMainForm();
    FOwnerInTray = FOwner && !FOwner->isVisible();
    SetIconVisible(true);
}

void TTrayIcon::MinimizeOwner()
{
    if (!FOwner)
        return;
    if (FMinimizeToTray && TrayAvailable()) {
        emit OnMinimizeToTray();
        MinimizeToTrayNow();
    } else {
        FOwner->showMinimized();
    }
}

bool TTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FOwner)
        return false;
    if (event->type() == QEvent::WindowStateChange && FOwner->isMinimized() && FMinimizeToTray && TrayAvailable()) {
        emit OnMinimizeToTray();
        // Hidden once the minimising is over, not in its midst.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (FOwner && FOwner->isMinimized())
                    MinimizeToTrayNow();
            },
            Qt::QueuedConnection);
    } else if (event->type() == QEvent::Show) {
        FOwnerInTray = false;
        if (!FOwner->isMinimized()) {
            FOwner->raise();
            FOwner->activateWindow();
        }
    }
    return false;
}
