#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>

namespace vexilon::sim {

// How many bytes the machine may put on the line: at 57,600 baud with ten
// bits a byte that is 5,760 a second; unlimited when pacing is off. Credit
// does not build up while the line rests, so a reply after a quiet spell
// does not go out as a burst. With a burst period the same rate comes in
// lumps, all that is due at each period's start, as a USB serial adapter
// hands on what it received every 16 ms.
class LinePace {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr long long kBytesPerSecond = 5760;
    static constexpr std::size_t kUnpacedChunk = 1 << 16;

    explicit LinePace(bool paced, std::chrono::milliseconds burstPeriod = {})
        : paced_(paced), burstMicros_(burstPeriod.count() * 1000) {}

    std::size_t allowance(Clock::time_point now) const {
        if (!paced_) {
            return kUnpacedChunk;
        }
        const long long due = dueMicros(now) * kBytesPerSecond / 1'000'000;
        return static_cast<std::size_t>(std::max(0LL, due - sent_));
    }

    void spent(std::size_t bytes) { sent_ += static_cast<long long>(bytes); }

    // Nothing to send: the line starts afresh at `now`.
    void rest(Clock::time_point now) {
        start_ = now;
        sent_ = 0;
    }

    // Credit beyond `bytes` is forgotten: for a direction whose quiet
    // spells cannot be seen (what the console has written but the machine
    // has not read yet).
    void capCredit(Clock::time_point now, std::size_t bytes) {
        const long long due = elapsedMicros(now) * kBytesPerSecond / 1'000'000;
        sent_ = std::max(sent_, due - static_cast<long long>(bytes));
    }

    // Milliseconds until the next byte may go (at least 1 when paced).
    int waitMs(Clock::time_point now) const {
        if (!paced_) {
            return 0;
        }
        long long nextAt = (sent_ + 1) * 1'000'000 / kBytesPerSecond;
        if (burstMicros_ > 0) {
            nextAt = (nextAt + burstMicros_ - 1) / burstMicros_ * burstMicros_;
        }
        const long long micros = nextAt - elapsedMicros(now);
        return static_cast<int>(std::max(1LL, (micros + 999) / 1000));
    }

private:
    long long elapsedMicros(Clock::time_point now) const {
        return std::chrono::duration_cast<std::chrono::microseconds>(now - start_).count();
    }
    // The time whose bytes may go: in burst mode, up to the period's start.
    long long dueMicros(Clock::time_point now) const {
        const long long elapsed = elapsedMicros(now);
        return burstMicros_ > 0 ? elapsed - elapsed % burstMicros_ : elapsed;
    }

    bool paced_;
    long long burstMicros_;
    Clock::time_point start_ = Clock::now();
    long long sent_ = 0;
};

} // namespace vexilon::sim
