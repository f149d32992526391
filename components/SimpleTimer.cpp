#include "components/SimpleTimer.h"

#include <QObject>
#include <QTimerEvent>

#include <climits>
#include <map>
#include <memory>
#include <utility>

namespace {

// The hidden object: Qt timer ids lead back to their timers through a map, so no address is
// ever squeezed into an id.
class THandlerObject : public QObject, public TSimpleTimerHandler {
public:
    void Attach() { ++FTimerCount; }
    bool Detach()
    {
        if (FTimerCount > 0)
            --FTimerCount;
        return FTimerCount == 0;
    }
    int Start(TSimpleTimer* timer, std::uint32_t period)
    {
        // Longer periods are held at the largest one the system takes.
        const int ms = period > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(period);
        const int id = startTimer(ms);
        if (id != 0)
            FTimers[id] = timer;
        return id;
    }
    bool Stop(int id)
    {
        if (id == 0 || FTimers.erase(id) == 0)
            return false;
        killTimer(id);
        return true;
    }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        const auto it = FTimers.find(event->timerId());
        if (it == FTimers.end())
            return;
        ++FDispatching;
        Dispatch(*it->second);
        --FDispatching;
    }

public:
    int FDispatching = 0;  // a tick handler may destroy the last timer while it runs

private:
    std::map<int, TSimpleTimer*> FTimers;
};

std::unique_ptr<THandlerObject>& Handler()
{
    static std::unique_ptr<THandlerObject> handler;
    return handler;
}

void AttachTimer()
{
    if (!Handler())
        Handler() = std::make_unique<THandlerObject>();
    Handler()->Attach();
}

void DetachTimer()
{
    if (!Handler() || !Handler()->Detach())
        return;
    if (Handler()->FDispatching > 0)
        Handler().release()->deleteLater();
    else
        Handler().reset();
}

}  // namespace

TSimpleTimerHandler* TSimpleTimerHandler::Instance()
{
    return Handler().get();
}

TSimpleTimer::TSimpleTimer()
{
    AttachTimer();
}

TSimpleTimer::TSimpleTimer(std::uint32_t period, TTickEvent onTick)
    : FPeriod(period),
      FOnTick(std::move(onTick))
{
    AttachTimer();
}

TSimpleTimer::~TSimpleTimer()
{
    if (FActive || FTimerId != 0)
        Disarm(true);
    DetachTimer();
}

bool TSimpleTimer::Arm()
{
    if (FPeriod == 0)
        return false;
    if (FActive)
        Disarm(true);
    FTimerId = Handler()->Start(this, FPeriod);
    if (FTimerId == 0)
        return false;
    FActive = true;
    return true;
}

bool TSimpleTimer::Disarm(bool deactivate)
{
    if (deactivate)
        FActive = false;
    const bool stopped = Handler()->Stop(FTimerId);
    FTimerId = 0;
    return stopped;
}

void TSimpleTimer::SetActive(bool value)
{
    if (value)
        Arm();
    else
        Disarm(true);
}

void TSimpleTimer::SetPeriod(std::uint32_t value)
{
    if (value == FPeriod)
        return;
    FPeriod = value;
    if (!FActive)
        return;
    if (value != 0)
        Arm();
    else
        Disarm(false);
}

void TSimpleTimer::SetOnTick(TTickEvent handler)
{
    FOnTick = std::move(handler);
    if (!FOnTick && FActive)
        Disarm(false);
}

void TSimpleTimer::Tick()
{
    if (FOnTick)
        FOnTick(*this);
}
