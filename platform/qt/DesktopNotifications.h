// The desktop's notification service (org.freedesktop.Notifications on the session bus): shows
// one notification at a time, replaces it with the next, closes it, and reports why it went.
#pragma once

#include <QObject>
#include <QString>

class TDesktopNotifications : public QObject {
    Q_OBJECT
public:
    // Why a notification went, as the service reports it.
    enum TReason : uint { Expired = 1, Dismissed = 2, ClosedByCall = 3, Undefined = 4 };

    explicit TDesktopNotifications(QObject* parent = nullptr);

    // True when a notification service runs on the session bus.
    static bool ServiceRuns();

    // Shows Summary and Body (plain text) for TimeoutMs; the shown one is replaced.
    void Show(const QString& summary, const QString& body, int timeoutMs);
    // Closes the shown notification; the service then reports it closed by a call.
    void Close();
    // A notification of ours is shown (or on its way).
    bool Shown() const { return pending_ || id_ != 0; }

signals:
    void Closed(uint reason);
    void Clicked();
    // The service refused the notification; nothing is shown.
    void Failed();

private slots:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& actionKey);

private:
    bool BodyMarkup();
    void CloseId(uint id);

    uint id_ = 0;
    quint64 sequence_ = 0;  // of the last Show
    bool pending_ = false;
    bool closeWhenShown_ = false;
    int markup_ = -1;  // -1 not asked yet, else whether the service reads markup in bodies
};
