// Message-loop timers. Components ask the timer service instead of Qt
// directly, so a test can install a manual clock and advance it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/toolkit/Component.h"

namespace tk {

// Message-loop timers never fire faster than this, whatever they are asked
// for; a zero or negative interval would otherwise tick on every pass.
inline constexpr int kMinTimerIntervalMs = 10;
inline int TimerPeriod(int intervalMs) {
    return intervalMs < kMinTimerIntervalMs ? kMinTimerIntervalMs : intervalMs;
}

class TTimerService {
public:
    virtual ~TTimerService() = default;
    // Calls callback every intervalMs milliseconds on the GUI thread until
    // stopped. Returns a non-zero id.
    virtual int Start(int intervalMs, std::function<void()> callback) = 0;
    virtual void Stop(int id) = 0;
    // Milliseconds on the clock the timers run by, wrapping at 2^32 as the
    // system tick count does.
    virtual std::uint32_t TickCount() const = 0;

    static TTimerService& Instance();
    // Installs a service (not owned); null goes back to the Qt-based one.
    static void Install(TTimerService* service);
};

// A clock that only moves when told: Advance fires every due timer in order
// of its due time, the way the message loop would have.
class TManualTimerService : public TTimerService {
public:
    int Start(int intervalMs, std::function<void()> callback) override;
    void Stop(int id) override;
    std::uint32_t TickCount() const override {
        return static_cast<std::uint32_t>(m_tickBase + m_now);
    }
    void Advance(int ms);
    long long Now() const { return m_now; }
    // Sets the tick count the clock shows now (one about to wrap, say).
    void SetTickCount(std::uint32_t ticks) { m_tickBase = static_cast<long long>(ticks) - m_now; }
    int ActiveCount() const { return static_cast<int>(m_timers.size()); }

private:
    struct Timer {
        int interval;
        long long due;
        std::function<void()> callback;
    };
    std::map<int, Timer> m_timers;
    long long m_now = 0;
    long long m_tickBase = 0;
    int m_nextId = 1;
};

// Installs a manual clock for a scope.
class TManualClockScope {
public:
    TManualClockScope() { TTimerService::Install(&m_service); }
    ~TManualClockScope() { TTimerService::Install(nullptr); }
    TManualClockScope(const TManualClockScope&) = delete;
    TManualClockScope& operator=(const TManualClockScope&) = delete;
    TManualTimerService& Clock() { return m_service; }

private:
    TManualTimerService m_service;
};

class TTimer : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    int Interval() const { return m_interval; }
    void SetInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    TNotifyEvent OnTimer;

protected:
    void Loaded() override;

private:
    void Restart();
    int m_interval = 1000;
    bool m_enabled = true;
    int m_id = 0;
};

} // namespace tk
