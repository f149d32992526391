// Times a key from the moment it is sent to the X server to the first pixel that changes in a
// rectangle of a window, as a person would see it: the window's own painting, flushing and the
// server's drawing included. A second connection to the server of the window sends the key and
// reads the pixels back while the program under test runs its event loop.
#pragma once

#include <QRect>

#include <xcb/xcb.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

class QAbstractEventDispatcher;

class TPixelWatch {
public:
    // Watches Area (in the coordinates of Window) on the display named by DISPLAY.
    TPixelWatch(xcb_window_t window, const QRect& area);
    ~TPixelWatch();
    TPixelWatch(const TPixelWatch&) = delete;
    TPixelWatch& operator=(const TPixelWatch&) = delete;

    bool Connected() const { return connection_ != nullptr; }

    // Takes the area as it is now, then on a thread of its own sends the press and release of
    // KeySym to the window and reads the area back until a pixel differs or TimeoutMs pass.
    // When that thread ends, Done() turns true and the calling thread's event dispatcher is
    // woken. False when the keyboard has no such key.
    bool Start(std::uint32_t keysym, int timeoutMs);
    bool Done() const { return done_.load(); }
    // Milliseconds from the key to the first changed pixel; -1 when nothing changed in time.
    double Wait();

private:
    std::string Grab() const;
    void Run(std::string before, xcb_keycode_t keycode, int timeoutMs);
    xcb_keycode_t KeycodeOf(std::uint32_t keysym) const;

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = 0;
    xcb_window_t root_ = 0;
    QRect area_;
    QAbstractEventDispatcher* dispatcher_ = nullptr;
    std::thread thread_;
    std::atomic<bool> done_{false};
    double result_ = -1;
};
