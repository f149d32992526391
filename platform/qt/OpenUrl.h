// Opening web and mail addresses with the desktop's handler. Everything goes through
// OpenUrl so that tests can put their own handler in place and see the address instead of
// launching a browser.
#pragma once

#include <QUrl>

#include <functional>

using TOpenUrlHandler = std::function<bool(const QUrl&)>;

// Opens the address with the current handler (by default QDesktopServices::openUrl).
// Returns whether it was handed on.
bool OpenUrl(const QUrl& url);

// Puts Handler in place and returns the one it replaces; an empty handler restores the
// desktop's handler. For the user-interface thread only.
TOpenUrlHandler SetOpenUrlHandler(TOpenUrlHandler handler);
