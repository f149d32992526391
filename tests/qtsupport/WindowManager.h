// A window manager (openbox) of the test's own on the X server, for the tests that need
// frames, title-bar buttons or a stacking order; it is ended with the object.
#pragma once

#include <QProcess>

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

}  // namespace TestSupport
