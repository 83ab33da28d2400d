#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/machine/command_reader.h"
#include "sim/machine/dot_image.h"
#include "sim/machine/work_piece.h"

namespace vexilon::sim {

enum class JobState { NoImage, Ready, Carving, Paused, Finished };

// Quiet: nothing; Normal: every command and job event; Verbose: every dot too.
enum class LogLevel { Quiet, Normal, Verbose };

struct Faults {
    bool neverAnswerVerify = false;
    bool lateVerify = false;       // verify OK only kLateVerifyDelay after the request
    int noiseEvery = 0;            // a meaningless byte after every n-th report; 0: never
    long long hangUpAfterDots = 0; // pull the cable after this many dots; 0: never
};

struct Head {
    int x = 0;
    int y = 0;
};

// The engraving machine itself, without any line: bytes from the console go
// in with the time they arrived, reply bytes come out when the line can take
// them. Time is whatever clock the caller runs on, so tests need no sleeping.
class MachineModel {
public:
    static constexpr Millis kLateVerifyDelay{1500};
    static constexpr int kJogStep = 10; // dots per jog
    static constexpr int kSkipRows = 15;
    static constexpr int kDefaultBurningTime = 60;

    using LogSink = std::function<void(LogLevel, const std::string&)>;

    explicit MachineModel(Faults faults = {}, bool versionReport = false, LogSink log = {});

    void receive(std::uint8_t byte, Millis now);

    // Takes `image` as an upload would and starts carving it, for runs that
    // want a job without sending the image over the line.
    void carve(const DotImage& image);
    // A new, unburnt piece under the laser; the job and the head stay.
    void layFreshPiece() { workPiece_ = WorkPiece{}; }
    // The cable is back: the hang-up fault does not strike again.
    void disarmHangUp() { faults_.hangUpAfterDots = 0; }

    // Appends to `out` up to `budget` reply bytes that are due at `now`; a
    // position report is never broken by another reply.
    void produce(Millis now, std::size_t budget, std::vector<std::uint8_t>& out);
    bool hasOutput(Millis now) const;
    // When a reply held back for later falls due.
    std::optional<Millis> nextDue() const;

    // The hang-up fault has struck: the line must be dropped.
    bool wantsHangUp() const;

    JobState job() const { return job_; }
    bool hasImage() const { return job_ != JobState::NoImage; }
    long long dotsReported() const { return dotsReported_; }
    const WorkPiece& workPiece() const { return workPiece_; }
    Head head() const { return head_; }
    int burningTime() const { return burningTime_; }
    int stepPause() const { return stepPause_; }
    bool reversedX() const { return reversedX_; }
    bool reversedY() const { return reversedY_; }

private:
    using Handler = void (MachineModel::*)(const Command&, Millis);

    void act(const Command& command, Millis now);
    void onVerify(const Command& command, Millis now);
    void onEraseImage(const Command& command, Millis now);
    void onImageData(const Command& command, Millis now);
    void onImageAbandoned(const Command& command, Millis now);
    void onStartCarving(const Command& command, Millis now);
    void onPause(const Command& command, Millis now);
    void onRestart(const Command& command, Millis now);
    void onRecarve(const Command& command, Millis now);
    void onFastForward(const Command& command, Millis now);
    void onFastBackward(const Command& command, Millis now);
    void onJog(const Command& command, Millis now);
    void onToOrigin(const Command& command, Millis now);
    void onToMiddle(const Command& command, Millis now);
    void onCarvingArea(const Command& command, Millis now);
    void onReverseMotor(const Command& command, Millis now);
    void onStepPause(const Command& command, Millis now);
    void onBurningTime(const Command& command, Millis now);
    void onShortErase(const Command& command, Millis now);
    void onUnknown(const Command& command, Millis now);
    void answerVerify();
    bool queueNext(Millis now);
    void startFromTop();
    void skipRows(int rows);
    void stopJob(JobState next);
    bool nextDot(int& x, int& y);
    void burnAndReport(int x, int y);
    void log(LogLevel level, const std::string& line) const;

    Faults faults_;
    bool versionReport_;
    LogSink log_;
    CommandReader reader_;

    std::optional<DotImage> image_;
    JobState job_ = JobState::NoImage;
    int row_ = 0; // where carving goes on
    int column_ = 0;
    long long dotsReported_ = 0;
    WorkPiece workPiece_;

    Head head_;
    int burningTime_ = kDefaultBurningTime;
    int stepPause_ = 0;
    bool reversedX_ = false;
    bool reversedY_ = false;

    std::deque<std::uint8_t> sending_; // the bytes of the reply on the line
    std::deque<std::uint8_t> replies_; // single-byte replies waiting for a gap
    std::vector<Millis> lateReplies_;  // verify OK held back by the late fault
    int noiseIndex_ = 0;
};

} // namespace vexilon::sim
