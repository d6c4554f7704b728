// Measures the time from exec to the first painted window and the resident memory then, for the main window and
// for a bare Qt window, each in fresh processes, on a private X server (xvfb-run).
#include "engine/SendDriver.h"
#include "platform/DesktopBackend.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtSettings.h"
#include "platform/qt/QtTimer.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace quorvane;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 7;

long long nowNs() { return std::chrono::nanoseconds(Clock::now().time_since_epoch()).count(); }

// Steady-clock times at which the window child finished its phases: backend, application, window.
long long g_phase[3] = {};

long statusKilobytes(const char *field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) {
            return std::atol(line.c_str() + std::strlen(field));
        }
    }
    return -1;
}

// Prints the steady-clock time of the first paint (once it has finished) and the memory then, and quits.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("%lld %ld %ld %lld %lld %lld\n", nowNs(), statusKilobytes("VmRSS:"),
                            statusKilobytes("VmHWM:"), g_phase[0], g_phase[1], g_phase[2]);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

// The window as the program opens it: desktop backend first, then Qt, the window and its engine.
int childMainWindow(int argc, char **argv) {
    std::string error;
    platform::DesktopBackend backend = platform::openDesktopBackend(error);
    if (!backend.desktop) {
        return 1;
    }
    g_phase[0] = nowNs();
    QApplication application(argc, argv);
    g_phase[1] = nowNs();
    platform::QtDialogs dialogs;
    platform::QtSettings settings;
    platform::QtEventPump pump;
    platform::QtTimer timer;
    platform::QtClock clock;
    ui::MainForm form(dialogs, settings, QCoreApplication::applicationDirPath());
    engine::SendDriver driver(form,
                              {*backend.desktop, *backend.layout, *backend.injector, pump, timer, clock, dialogs});
    form.setSendDriver(&driver, clock);
    g_phase[2] = nowNs();
    FirstPaint watcher;
    form.installEventFilter(&watcher);
    form.show();
    return application.exec();
}

int childBareWindow(int argc, char **argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(719, 562);
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    return application.exec();
}

struct Sample {
    double seconds = 0;
    double rssMb = 0;
    double peakMb = 0;
    double phases[3] = {}; // seconds from start to: backend open, application made, window made
};

// Starts this program again in `mode` and reads the figures that it prints at its first paint.
bool runChild(const char *self, const char *mode, Sample &sample) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return false;
    }
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::execl(self, self, "--child", mode, static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    char buffer[256] = {};
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer - 1);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    long long paintedNs = 0;
    long rssKb = 0, peakKb = 0;
    long long phaseNs[3] = {};
    if (got <= 0 || std::sscanf(buffer, "%lld %ld %ld %lld %lld %lld", &paintedNs, &rssKb, &peakKb, &phaseNs[0],
                                &phaseNs[1], &phaseNs[2]) != 6) {
        return false;
    }
    const auto startNs = std::chrono::nanoseconds(start.time_since_epoch()).count();
    auto since = [startNs](long long ns) { return ns == 0 ? 0.0 : static_cast<double>(ns - startNs) / 1e9; };
    sample.seconds = since(paintedNs);
    sample.rssMb = static_cast<double>(rssKb) / 1024.0;
    sample.peakMb = static_cast<double>(peakKb) / 1024.0;
    for (int i = 0; i < 3; ++i) {
        sample.phases[i] = since(phaseNs[i]);
    }
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int runRounds(const char *self) {
    std::vector<double> windowTimes, bareTimes, windowRss, bareRss, phases[3];
    for (int round = 0; round < kRounds; ++round) {
        Sample window, bare;
        if (!runChild(self, "window", window) || !runChild(self, "bare", bare)) {
            std::fprintf(stderr, "bench_startup: a child did not paint\n");
            return 1;
        }
        std::printf("round %d: main window %.3f s %.1f MB (peak %.1f MB); bare window %.3f s %.1f MB\n", round + 1,
                    window.seconds, window.rssMb, window.peakMb, bare.seconds, bare.rssMb);
        windowTimes.push_back(window.seconds);
        bareTimes.push_back(bare.seconds);
        windowRss.push_back(window.rssMb);
        bareRss.push_back(bare.rssMb);
        for (int i = 0; i < 3; ++i) {
            phases[i].push_back(window.phases[i]);
        }
    }
    std::printf("median main window: backend open at %.3f s, application at %.3f s, window made at %.3f s, "
                "painted at %.3f s\n",
                median(phases[0]), median(phases[1]), median(phases[2]), median(windowTimes));
    std::printf("median: main window %.3f s, %.1f MB; bare Qt window %.3f s, %.1f MB; ratio %.2f (time), %.2f "
                "(memory)\n",
                median(windowTimes), median(windowRss), median(bareTimes), median(bareRss),
                median(windowTimes) / median(bareTimes), median(windowRss) / median(bareRss));
    std::printf("targets: < 0.3 s and < 50 MB\n");
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
        return std::strcmp(argv[2], "window") == 0 ? childMainWindow(argc, argv) : childBareWindow(argc, argv);
    }
    char self[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        return 1;
    }
    if (!std::getenv("QUORVANE_BENCH_IN_XVFB")) {
        // A private X server for the run, even on a desktop: a shared display measures other programs' load too,
        // and the windows would flash on it.
        ::setenv("QUORVANE_BENCH_IN_XVFB", "1", 1);
        ::execlp("xvfb-run", "xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", self, static_cast<char *>(nullptr));
        if (!std::getenv("DISPLAY")) {
            std::fprintf(stderr, "bench_startup: no DISPLAY and xvfb-run cannot be started\n");
            return 1;
        }
    }
    return runRounds(self);
}
