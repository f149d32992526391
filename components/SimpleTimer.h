// Light timers without an owner widget: every timer is served by one shared hidden object,
// which exists while at least one timer exists. All calls come on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>

class TSimpleTimerHandler;

class TSimpleTimer {
public:
    using TTickEvent = std::function<void(TSimpleTimer& sender)>;

    TSimpleTimer();  // period 1000 ms, no handler
    TSimpleTimer(std::uint32_t period, TTickEvent onTick);
    ~TSimpleTimer();
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    // Starts the system timer (restarting it when active). Period 0 fails and changes nothing.
    bool Arm();
    // Stops the system timer; with deactivate False the timer stays Active (suspended).
    bool Disarm(bool deactivate);

    bool Active() const { return FActive; }
    void SetActive(bool value);
    std::uint32_t Period() const { return FPeriod; }
    // Active timers restart with a new non-zero period and suspend with 0.
    void SetPeriod(std::uint32_t value);
    const TTickEvent& OnTick() const { return FOnTick; }
    // An empty handler suspends an active timer.
    void SetOnTick(TTickEvent handler);

    // Whether the system timer runs (an active timer may be suspended).
    bool Running() const { return FTimerId != 0; }

private:
    friend class TSimpleTimerHandler;
    void Tick();

    int FTimerId = 0;  // the handler's timer id, 0 while not running
    bool FActive = false;
    std::uint32_t FPeriod = 1000;
    TTickEvent FOnTick;
};

// The shared object that receives the timer events; exposed for checks of its lifetime.
class TSimpleTimerHandler {
public:
    static TSimpleTimerHandler* Instance();  // null while no timer exists
    int TimerCount() const { return FTimerCount; }

    virtual ~TSimpleTimerHandler() = default;

protected:
    static void Dispatch(TSimpleTimer& timer) { timer.Tick(); }
    int FTimerCount = 0;
};
