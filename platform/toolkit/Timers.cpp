#include "platform/toolkit/Timers.h"

#include <QTimer>
#include <chrono>

#include "platform/toolkit/Application.h"

namespace tk {

namespace {

class QtTimerService : public TTimerService {
public:
    int Start(int intervalMs, std::function<void()> callback) override {
        const int id = m_nextId++;
        auto timer = std::make_unique<QTimer>();
        timer->setInterval(TimerPeriod(intervalMs));
        QObject::connect(timer.get(), &QTimer::timeout, [cb = std::move(callback)] {
            // An exception must not cross Qt's event loop.
            try {
                cb();
            } catch (...) {
                if (Application) {
                    Application->HandleException(nullptr);
                }
            }
        });
        timer->start();
        m_timers[id] = std::move(timer);
        return id;
    }
    void Stop(int id) override {
        auto it = m_timers.find(id);
        if (it != m_timers.end()) {
            it->second->stop();
            // The callback may be running right now (a timer stopping itself).
            it->second.release()->deleteLater();
            m_timers.erase(it);
        }
    }
    std::uint32_t TickCount() const override {
        using namespace std::chrono;
        const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms.count()));
    }

private:
    std::map<int, std::unique_ptr<QTimer>> m_timers;
    int m_nextId = 1;
};

TTimerService* g_installed = nullptr;

} // namespace

TTimerService& TTimerService::Instance() {
    static QtTimerService qtService;
    return g_installed ? *g_installed : qtService;
}

void TTimerService::Install(TTimerService* service) {
    g_installed = service;
}

int TManualTimerService::Start(int intervalMs, std::function<void()> callback) {
    const int id = m_nextId++;
    const int interval = TimerPeriod(intervalMs);
    m_timers[id] = Timer{interval, m_now + interval, std::move(callback)};
    return id;
}

void TManualTimerService::Stop(int id) {
    m_timers.erase(id);
}

void TManualTimerService::Advance(int ms) {
    const long long end = m_now + ms;
    for (;;) {
        // The earliest due timer at or before the end; ties go by start order.
        int nextId = 0;
        long long nextDue = 0;
        for (const auto& [id, t] : m_timers) {
            if (t.due <= end && (nextId == 0 || t.due < nextDue)) {
                nextId = id;
                nextDue = t.due;
            }
        }
        if (nextId == 0) {
            break;
        }
        m_now = nextDue;
        Timer& t = m_timers.at(nextId);
        t.due = m_now + t.interval;
        auto callback = t.callback; // the timer may be stopped inside
        callback();
    }
    m_now = end;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    PublishEvent("OnTimer", OnTimer);
}

TTimer::~TTimer() {
    if (m_id) {
        TTimerService::Instance().Stop(m_id);
    }
}

void TTimer::SetInterval(int ms) {
    if (ms != m_interval) {
        m_interval = ms;
        Restart();
    }
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled != m_enabled) {
        m_enabled = enabled;
        Restart();
    }
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Restart();
}

void TTimer::Restart() {
    if (m_id) {
        TTimerService::Instance().Stop(m_id);
        m_id = 0;
    }
    if (m_enabled && m_interval > 0 && !IsLoading()) {
        m_id = TTimerService::Instance().Start(m_interval, [this] {
            if (OnTimer) {
                OnTimer(this);
            }
        });
    }
}

} // namespace tk
