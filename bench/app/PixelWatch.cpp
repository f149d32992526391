#include "bench/app/PixelWatch.h"

#include <QAbstractEventDispatcher>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

struct TFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using TReply = std::unique_ptr<T, TFree>;

}  // namespace

TPixelWatch::TPixelWatch(xcb_window_t window, const QRect& area)
    : window_(window),
      area_(area)
{
    int screenNumber = 0;
    connection_ = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i)
        xcb_screen_next(&it);
    root_ = it.data->root;
}

TPixelWatch::~TPixelWatch()
{
    if (thread_.joinable())
        thread_.join();
    if (connection_ != nullptr)
        xcb_disconnect(connection_);
}

xcb_keycode_t TPixelWatch::KeycodeOf(std::uint32_t keysym) const
{
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const auto first = setup->min_keycode;
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - first + 1);
    const TReply<xcb_get_keyboard_mapping_reply_t> map(
        xcb_get_keyboard_mapping_reply(connection_, xcb_get_keyboard_mapping(connection_, first, count), nullptr));
    if (!map)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perCode = map->keysyms_per_keycode;
    for (int k = 0; k < count; ++k)
        for (int i = 0; i < perCode; ++i)
            if (syms[k * perCode + i] == keysym)
                return static_cast<xcb_keycode_t>(first + k);
    return 0;
}

std::string TPixelWatch::Grab() const
{
    const TReply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, static_cast<std::int16_t>(area_.x()),
                      static_cast<std::int16_t>(area_.y()), static_cast<std::uint16_t>(area_.width()),
                      static_cast<std::uint16_t>(area_.height()), ~0U),
        nullptr));
    if (!image)
        return {};
    return std::string(reinterpret_cast<const char*>(xcb_get_image_data(image.get())),
                       static_cast<std::size_t>(xcb_get_image_data_length(image.get())));
}

bool TPixelWatch::Start(std::uint32_t keysym, int timeoutMs)
{
    if (thread_.joinable())
        thread_.join();
    const xcb_keycode_t keycode = KeycodeOf(keysym);
    if (keycode == 0)
        return false;
    done_ = false;
    result_ = -1;
    dispatcher_ = QAbstractEventDispatcher::instance();
    std::string before = Grab();
    thread_ = std::thread(
        [this, b = std::move(before), keycode, timeoutMs]() mutable { Run(std::move(b), keycode, timeoutMs); });
    return true;
}

void TPixelWatch::Run(std::string before, xcb_keycode_t keycode, int timeoutMs)
{
    // The key goes to the window through the server, as typed keys do.
    xcb_key_press_event_t key{};
    key.detail = keycode;
    key.time = XCB_CURRENT_TIME;
    key.root = root_;
    key.event = window_;
    key.child = XCB_NONE;
    key.same_screen = 1;
    char event[32] = {};
    const auto t0 = Clock::now();
    for (const std::uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
        key.response_type = type;
        static_assert(sizeof key == sizeof event);
        std::memcpy(event, &key, sizeof event);
        xcb_send_event(connection_, 0, window_, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE, event);
    }
    xcb_flush(connection_);
    const auto limit = t0 + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < limit) {
        const std::string now = Grab();
        const auto t1 = Clock::now();  // the read that saw the change has ended: an upper bound
        if (!now.empty() && now != before) {
            result_ = std::chrono::duration<double, std::milli>(t1 - t0).count();
            break;
        }
    }
    done_ = true;
    if (dispatcher_ != nullptr)
        dispatcher_->wakeUp();
}

double TPixelWatch::Wait()
{
    if (thread_.joinable())
        thread_.join();
    return result_;
}
