// The end of the desktop session: the session ends programs with SIGTERM (SIGHUP when their
// terminal goes) or asks them through the session manager first. Either way EndRequested is
// signalled on the user-interface thread, so the program can save and close as the user
// would. The signal handler only writes a byte into a pipe that the event loop watches.
#pragma once

#include <QObject>

class QSocketNotifier;

class TSessionEnd : public QObject {
    Q_OBJECT
public:
    // Catches SIGTERM and SIGHUP until destroyed (one object per process).
    explicit TSessionEnd(QObject* parent = nullptr);
    ~TSessionEnd() override;
    TSessionEnd(const TSessionEnd&) = delete;
    TSessionEnd& operator=(const TSessionEnd&) = delete;

    // False when the pipe could not be made (the signals then end the program unsaved).
    bool Active() const { return notifier_ != nullptr; }

signals:
    void EndRequested();

private:
    void OnPipe();

    int readFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};
