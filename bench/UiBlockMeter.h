#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <stdexcept>

namespace bench {

// The longest time the user interface's thread went without coming back to its
// event loop: a timer of a millisecond fires whenever the loop runs, so the widest
// gap between two firings is the longest the window was frozen.
class UiBlockMeter {
public:
    UiBlockMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    // Milliseconds.
    double stop() {
        tick();
        m_timer.stop();
        return m_longest;
    }

private:
    void tick() {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, double(now - m_last) / 1e6);
        m_last = now;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    double m_longest = 0;
};

// Runs the event loop until done() holds, as the program would between steps.
inline void runEventsUntil(const std::function<bool()>& done, int timeoutMs = 120'000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            throw std::runtime_error("benchmark check failed: the window finished reading");
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace bench
