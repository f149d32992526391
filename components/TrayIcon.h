// An icon in the desktop's notification area: its mouse actions become events, it shows a
// popup menu, cycles through a list of icons and hides its owner window into the tray when
// the window is minimised. Where the desktop has no tray the window minimises as usual.
// The balloon events report how the program's balloon (platform/qt/Balloon) went: clicked,
// hidden by the user or by a call, or timed out.
#pragma once

#include "components/SimpleTimer.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QMenu>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <cstdint>
#include <functional>

class QWidget;

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    // The longest tip the notification area shows.
    static constexpr int MaxHintLength = 127;

    // owner: the window that minimises into the tray (may be null).
    explicit TTrayIcon(QWidget* owner = nullptr);
    ~TTrayIcon() override;

    // Asks OnStartup whether the owner is to be shown (true without a handler); on false the
    // owner is hidden into the tray. Returns the answer.
    bool Loaded();

    const QList<QIcon>& IconList() const { return FIconList; }
    void SetIconList(const QList<QIcon>& list);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool value);
    std::uint32_t CycleInterval() const { return FCycleInterval; }
    void SetCycleInterval(std::uint32_t value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    QString Hint() const { return FHint; }
    void SetHint(const QString& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    QIcon Icon() const { return FIcon; }
    void SetIcon(const QIcon& value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool value);
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int value);
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    bool LeftPopup() const { return FLeftPopup; }
    void SetLeftPopup(bool value) { FLeftPopup = value; }
    bool WantEnterExitEvents() const { return FWantEnterExitEvents; }
    void SetWantEnterExitEvents(bool value);
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }

    // Whether the desktop has a notification area to hide into.
    static bool TrayAvailable();
    // Hide the owner window (only where a tray can bring it back).
    void HideApplicationWindow();
    void HideMainForm();
    // The program's own minimising of the owner: with MinimizeToTray and a tray the owner goes
    // into the tray at once, without being minimised by the window system first (a window
    // hidden while the window manager was still minimising it could come back minimised and
    // go straight back into the tray); otherwise it is minimised as a window.
    void MinimizeOwner();
    // The owner sits hidden in the tray (minimised into it and not shown since).
    bool OwnerInTray() const { return FOwnerInTray; }

    // Once at start-up: false keeps the owner hidden.
    std::function<bool()> OnStartup;

    // The icon as the desktop sees it.
    QSystemTrayIcon& ShellIcon() { return FShellIcon; }

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseEnter();
    void OnMouseExit();
    void OnMinimizeToTray();
    void OnBalloonHintClick();
    void OnBalloonHintHide();
    void OnBalloonHintTimeout();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void OnMouseMove(Qt::KeyboardModifiers shift, QPoint pos);
    void OnCycle(int nextIndex);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TMouse { Move, LeftDown, LeftUp, LeftDouble, RightDown, RightUp, MiddleDown, MiddleUp };

    void Activated(QSystemTrayIcon::ActivationReason reason);
    void MouseAction(TMouse action);
    void ShowPopup();
    void ClickTimerTick();
    void EnterExitTick();
    void CycleStep();
    void MinimizeToTrayNow();
    void RefreshShellRecord();
    void AddShellIcon();
    void RemoveShellIcon();
    void UpdateShellIcon();

    QSystemTrayIcon FShellIcon;
    QPointer<QWidget> FOwner;
    TSimpleTimer FCycleTimer;
    TSimpleTimer FClickTimer;
    TSimpleTimer FEnterExitTimer;
    bool FClickStart = false;
    bool FClickReady = false;
    bool FDoubleClicked = false;
    QElapsedTimer FLastLeftPress;  // since the last left press that began a click
    bool FDoubleReported = false;  // the last press was taken as the second of a double click
    QPoint FLastMove;
    bool FCursorOutside = true;

    QList<QIcon> FIconList;
    bool FCycleIcons = false;
    std::uint32_t FCycleInterval = 0;
    bool FEnabled = true;
    QString FHint;
    bool FShowHint = true;
    QIcon FIcon;
    bool FIconVisible = false;
    int FIconIndex = 0;
    QPointer<QMenu> FPopupMenu;
    bool FLeftPopup = false;
    bool FWantEnterExitEvents = false;
    bool FMinimizeToTray = false;
    bool FOwnerInTray = false;
};
