// Start-up measurement: when ORVANE_STARTUP_PROBE is set, the first complete paint of `window`
// prints the monotonic clock in nanoseconds, and half a second later the resident memory in kB;
// then the program quits. ReportStartupMoment marks the stages before it.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

namespace orvane::bench {

class StartupProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // After this paint event has been handled and flushed to the screen.
            QTimer::singleShot(0, this, [] {
                timespec now {};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("paint_ns %lld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QTimer::singleShot(500, [] {
                    std::ifstream status("/proc/self/status");
                    std::string line;
                    while (std::getline(status, line)) {
                        if (line.rfind("VmRSS:", 0) == 0)
                            std::printf("rss %s\n", line.c_str() + 6);
                    }
                    std::fflush(stdout);
                    QApplication::quit();
                });
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

// Prints "<moment>_ns" and the monotonic clock, to split the start-up into its stages.
inline void ReportStartupMoment(const char* moment) {
    if (qEnvironmentVariableIsEmpty("ORVANE_STARTUP_PROBE"))
        return;
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf(
        "%s_ns %lld\n", moment, static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
}

inline void InstallStartupProbe(QWidget* window) {
    if (qEnvironmentVariableIsEmpty("ORVANE_STARTUP_PROBE"))
        return;
    window->installEventFilter(new StartupProbe(window));
}

} // namespace orvane::bench
