#include "cli/Animation.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <unistd.h>

namespace tintwave::cli {

namespace {

volatile std::sig_atomic_t gStopSignal = 0;

extern "C" void noteStop(int signal) {
    gStopSignal = signal;
}

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The handlers animate() puts in place, and the ones before them back when it ends. Without
// SA_RESTART a signal cuts the sleep between frames short.
class StopSignals {
public:
    StopSignals() {
        gStopSignal = 0;
        struct sigaction stop = {};
        stop.sa_handler = noteStop;
        sigemptyset(&stop.sa_mask);
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
            sigaction(kStopSignals[i], &stop, &before_[i]);
        }
        // A closed pipe or terminal then shows as a failed write instead of ending the
        // program before it could reset anything.
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGPIPE, &ignore, &pipeBefore_);
    }
    ~StopSignals() {
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
            sigaction(kStopSignals[i], &before_[i], nullptr);
        }
        sigaction(SIGPIPE, &pipeBefore_, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    struct sigaction before_[std::size(kStopSignals)] = {};
    struct sigaction pipeBefore_ = {};
};

// Writes all of bytes; a signal in the middle does not stop it, so the terminal never gets
// half an escape sequence.
bool writeAll(int fd, const char* bytes, qsizetype count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, std::size_t(count));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

timespec later(timespec t, long nanoseconds) {
    t.tv_nsec += nanoseconds;
    while (t.tv_nsec >= 1'000'000'000) {
        t.tv_nsec -= 1'000'000'000;
        ++t.tv_sec;
    }
    return t;
}

bool reached(const timespec& now, const timespec& end) {
    return now.tv_sec > end.tv_sec || (now.tv_sec == end.tv_sec && now.tv_nsec >= end.tv_nsec);
}

} // namespace

engine::ColorDepth depthForTerminal(QByteArrayView colorterm, QByteArrayView term) {
    if (colorterm == "truecolor" || colorterm == "24bit") {
        return engine::ColorDepth::TrueColor;
    }
    return term.contains("256color") ? engine::ColorDepth::Xterm256 : engine::ColorDepth::Xterm16;
}

bool isTerminal(int fd) {
    return ::isatty(fd) == 1;
}

int animate(std::span<const QByteArray> frames, double seconds, int fd) {
    if (frames.empty()) {
        return 0;
    }
    const StopSignals stopSignals;
    constexpr long kFrameNanoseconds = 1'000'000'000 / kFramesPerSecond;
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    // A day at most: beyond that the count of whole seconds is of no interest.
    const double limited = seconds > 0 && seconds < 86400 ? seconds : 86400;
    const timespec end = later({next.tv_sec + time_t(limited), 0},
                               long((limited - double(time_t(limited))) * 1e9) + next.tv_nsec);
    bool ok = writeAll(fd, "\x1b[?25l", 6);
    for (std::size_t k = 0; ok && gStopSignal == 0; k = (k + 1) % frames.size()) {
        const QByteArray line = '\r' + frames[k];
        ok = writeAll(fd, line.constData(), line.size());
        next = later(next, kFrameNanoseconds);
        if (seconds > 0 && reached(next, end)) {
            break;
        }
        // Cut short by a signal: the loop sees it and stops.
        if (gStopSignal == 0) {
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        }
    }
    // The last frame ends with a reset already, unless a write failed half way.
    const bool restored = writeAll(fd, "\x1b[0m\x1b[?25h\n", 11);
    if (!ok || !restored) {
        return -1;
    }
    return gStopSignal;
}

} // namespace tintwave::cli
