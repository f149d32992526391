#include "app/SessionEnd.h"

#include <QGuiApplication>
#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe's writing end, for the handler; -1 while no object listens.
volatile std::sig_atomic_t gWriteFd = -1;
constexpr int kSignals[] = {SIGTERM, SIGHUP};

void OnSignal(int)
{
    const int saved = errno;
    const int fd = gWriteFd;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

void SetHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

}  // namespace

TSessionEnd::TSessionEnd(QObject* parent)
    : QObject(parent)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        readFd_ = fds[0];
        gWriteFd = fds[1];
        notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &TSessionEnd::OnPipe);
        SetHandler(OnSignal);
    }
#ifndef QT_NO_SESSIONMANAGER
    // The session manager asks before it ends the session: answer once the loop is back.
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { QTimer::singleShot(0, this, &TSessionEnd::EndRequested); });
#endif
}

TSessionEnd::~TSessionEnd()
{
    if (readFd_ < 0)
        return;
    SetHandler(SIG_DFL);
    const int writeFd = gWriteFd;
    gWriteFd = -1;
    ::close(writeFd);
    ::close(readFd_);
}

void TSessionEnd::OnPipe()
{
    char bytes[16];
    while (::read(readFd_, bytes, sizeof bytes) > 0) {}
    emit EndRequested();
}
