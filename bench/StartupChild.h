#pragma once
// The child side of bench/startup: waits until a window is on screen, then prints
// what the process holds at that moment and ends.
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace startup_bench {

// Resident memory in KiB, the number of shared libraries mapped and the processor
// time used so far in microseconds (all threads; unlike the time on the clock it
// hardly depends on how busy the machine is).
inline void PrintProcessFigures() {
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    long rss = -1;
    QFile status("/proc/self/status");
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:")) rss = line.mid(6).trimmed().split(' ').first().toLong();
    QSet<QByteArray> libraries;
    QFile maps("/proc/self/maps");
    if (maps.open(QIODevice::ReadOnly))
        for (const QByteArray& line : maps.readAll().split('\n')) {
            const int slash = line.indexOf('/');
            if (slash < 0) continue;
            const QByteArray path = line.mid(slash);
            if (path.contains(".so")) libraries.insert(path);
        }
    std::printf("%ld %lld %lld\n", rss, static_cast<long long>(libraries.size()),
                static_cast<long long>(cpu.tv_sec) * 1000000 + cpu.tv_nsec / 1000);
    std::fflush(stdout);
}

// The monotonic clock's reading in nanoseconds; the same clock in every process.
inline long long MonotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Speaks once `w` is exposed (mapped and drawn on). With `lastWidget`, it then
// waits until the widget of that name has been drawn, prints the clock's reading
// on a second line and quits; without, it quits at once.
class ExposeWatch : public QObject {
  public:
    explicit ExposeWatch(QWidget& w, const char* lastWidget = nullptr) : lastWidget_(lastWidget) {
        w.winId(); // makes the native window, so its events can be watched
        w.windowHandle()->installEventFilter(this);
        window_ = w.windowHandle();
        if (lastWidget_) QCoreApplication::instance()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == window_ && e->type() == QEvent::Expose && window_->isExposed() && !exposed_) {
            exposed_ = true;
            // What was asked for the first frame is done once this event has been handled.
            QTimer::singleShot(0, this, [this] {
                PrintProcessFigures();
                if (!lastWidget_ || lastDrawn_) Finish();
            });
        }
        if (lastWidget_ && !lastDrawn_ && e->type() == QEvent::Paint && o->parent() &&
            o->parent()->objectName() == lastWidget_) {
            lastDrawn_ = true;
            QTimer::singleShot(0, this, [this] {
                if (exposed_) Finish();
            });
        }
        return false;
    }

  private:
    void Finish() {
        if (lastWidget_) {
            std::printf("%lld\n", MonotonicNs());
            std::fflush(stdout);
        }
        QCoreApplication::quit();
    }

    QWindow* window_ = nullptr;
    const char* lastWidget_ = nullptr;
    bool exposed_ = false;
    bool lastDrawn_ = false;
};

} // namespace startup_bench
