// A window manager (openbox) and a notification area (trayer) of the test's own on the X
// server, for the tests that need frames, title-bar buttons, a stacking order or a tray; each
// is ended with its object.
#pragma once

#include <QProcess>
#include <QStringList>

namespace TestSupport {

class TWindowManager {
public:
    TWindowManager() = default;
    TWindowManager(const TWindowManager&) = delete;
    TWindowManager& operator=(const TWindowManager&) = delete;
    ~TWindowManager();

    // Starts openbox and waits until it frames a window; false when it is not installed or
    // did not come up.
    bool Start();

private:
    QProcess FProcess;
};

// A notification area of the test's own (trayer, a strip at the top right of the screen);
// it is ended with the object.
class TTrayer {
public:
    TTrayer();
    TTrayer(const TTrayer&) = delete;
    TTrayer& operator=(const TTrayer&) = delete;
    ~TTrayer();

private:
    QProcess FProcess;
};

// Runs xdotool with Args (real pointer and key actions on the X server); true when it worked.
bool XDo(const QStringList& args);

}  // namespace TestSupport
