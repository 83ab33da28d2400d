#include "sim/machine/machine_model.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sim_test_image.h"

// The command and reply codes are written out as numbers here: the machine
// shares its code table with the console, and a wrong code on both sides
// must not pass.
namespace vexilon::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

struct Machine {
    explicit Machine(Faults faults = {}, bool versionReport = false)
        : model(faults, versionReport, [this](LogLevel level, const std::string& line) {
              if (level == LogLevel::Normal) {
                  log.push_back(line);
              }
          }) {}

    void send(const Bytes& bytes, Millis at = 0ms) {
        for (std::uint8_t byte : bytes) {
            model.receive(byte, at);
        }
    }
    Bytes replies(std::size_t budget = 1 << 22, Millis at = 0ms) {
        Bytes out;
        model.produce(at, budget, out);
        return out;
    }
    void upload(const std::vector<std::pair<int, int>>& dots) {
        send(Bytes(8, 254));
        send(test::imageData(dots));
    }
    std::string lastLog() const { return log.empty() ? "" : log.back(); }

    std::vector<std::string> log;
    MachineModel model;
};

Bytes reports(const std::vector<std::pair<int, int>>& dots) {
    Bytes out;
    for (const auto& [x, y] : dots) {
        out.insert(out.end(),
                   {255, static_cast<std::uint8_t>(x / 100), static_cast<std::uint8_t>(x % 100),
                    static_cast<std::uint8_t>(y / 100), static_cast<std::uint8_t>(y % 100)});
    }
    return out;
}

TEST(MachineModel, AnswersVerifyAsTheFaultsSay) {
    Machine plain;
    plain.send({246});
    EXPECT_EQ(plain.replies(), Bytes{101});
    EXPECT_EQ(plain.replies(), Bytes{});

    Machine withVersion({}, true);
    withVersion.send({246});
    EXPECT_EQ(withVersion.replies(), (Bytes{101, 110}));

    Machine never({.neverAnswerVerify = true});
    never.send({246});
    EXPECT_FALSE(never.model.hasOutput(60s));
    EXPECT_EQ(never.replies(1 << 10, 60s), Bytes{});

    Machine late({.lateVerify = true});
    late.send({246}, 200ms);
    EXPECT_EQ(late.model.nextDue(), Millis{1700});
    EXPECT_EQ(late.replies(16, 1699ms), Bytes{});
    EXPECT_EQ(late.replies(16, 1700ms), Bytes{101});
}

TEST(MachineModel, EveryCommandIsHeardWithItsParameter) {
    const std::vector<std::pair<Bytes, std::string>> table{
        {{245, 1}, "jog up: head at 0, 0"},
        {{245, 2}, "jog down: head at 0, 10"},
        {{245, 4}, "jog right: head at 10, 10"},
        {{245, 3}, "jog left: head at 0, 10"},
        {{251}, "to middle of image"},
        {{243}, "to origin"},
        {{244}, "carving area: no dots to trace"},
        {{247, 1}, "reverse motor X: reversed"},
        {{247, 2}, "reverse motor Y: reversed"},
        {{247, 1}, "reverse motor X: normal"},
        {{250, 44}, "motor step pause 44"},
        {{250, 254}, "motor step pause 254"}, // a parameter that looks like a code
        {{1}, "burning time 1"},
        {{240}, "burning time 240"},
        {{242}, "pause: not carving"},
        {{249}, "restart: job back to the top, head to the origin"},
        {{252, 170}, "  not carving, ignored"},
        {{252, 7}, "unknown byte 7, ignored"},
        {{248}, "unknown byte 248, ignored"},
        {{253}, "unknown byte 253, ignored"},
        {{0}, "unknown byte 0, ignored"},
        {{254, 254, 254, 241}, "start carving: no image"},
    };
    Machine machine;
    for (const auto& [bytes, line] : table) {
        machine.send(bytes);
        EXPECT_EQ(machine.lastLog(), line) << "after byte " << int{bytes.front()};
    }
    EXPECT_EQ(machine.model.stepPause(), 254);
    EXPECT_EQ(machine.model.burningTime(), 240);
    EXPECT_TRUE(machine.model.reversedY());
    EXPECT_FALSE(machine.model.reversedX());
    EXPECT_NE(std::find(machine.log.begin(), machine.log.end(),
                        "erase image: only 3 of 8 bytes, ignored"),
              machine.log.end());
    // Start and recarve with no image end the job at once.
    EXPECT_EQ(machine.replies(), Bytes{102});
    machine.send({252, 119});
    EXPECT_EQ(machine.lastLog(), "recarve: no image");
    EXPECT_EQ(machine.replies(), Bytes{102});
}

TEST(MachineModel, CarvesTheUploadedDotsRowByRowFromTheTop) {
    // Pixel bytes 0xF1 (start carving) and 0xFE (erase image) inside the
    // image must not be taken as commands.
    const std::vector<std::pair<int, int>> dots{{511, 511}, {317, 45}, {5, 0}, {1, 0},
                                                {4, 1},     {5, 1},    {6, 1}, {7, 3}};
    Machine machine;
    machine.send({100}); // burning time before the upload
    machine.upload(dots);
    EXPECT_EQ(machine.lastLog(), "image data: 8 dots to burn");
    EXPECT_EQ(machine.model.job(), JobState::Ready);
    EXPECT_EQ(machine.replies(), Bytes{});

    machine.send({241});
    Bytes expected =
        reports({{1, 0}, {5, 0}, {4, 1}, {5, 1}, {6, 1}, {7, 3}, {317, 45}, {511, 511}});
    expected.push_back(102);
    EXPECT_EQ(machine.replies(), expected);
    EXPECT_EQ(machine.model.job(), JobState::Finished);
    EXPECT_EQ(machine.model.dotsReported(), 8);

    const WorkPiece& piece = machine.model.workPiece();
    EXPECT_EQ(piece.burntCount(), 8);
    for (const auto& [x, y] : dots) {
        EXPECT_EQ(piece.burningTime(x, y), 100) << x << ", " << y;
    }
    EXPECT_FALSE(piece.burnt(0, 0));

    // The same job again from the top.
    machine.send({241});
    EXPECT_EQ(machine.replies().size(), expected.size());
}

TEST(MachineModel, PauseSkipsRecarveAndRestartSteerTheJob) {
    std::vector<std::pair<int, int>> diagonal;
    for (int i = 0; i < 512; ++i) {
        diagonal.emplace_back(i, i);
    }
    Machine machine;
    machine.upload(diagonal);
    machine.send({241});
    EXPECT_EQ(machine.replies(10), reports({{0, 0}, {1, 1}}));
    // A reply waits for the end of the report on the line.
    EXPECT_EQ(machine.replies(3), (Bytes{255, 0, 2}));
    machine.send({246});
    EXPECT_EQ(machine.replies(3), (Bytes{0, 2, 101}));

    machine.send({242});
    EXPECT_EQ(machine.model.job(), JobState::Paused);
    EXPECT_EQ(machine.replies(), Bytes{});
    machine.send({241});
    EXPECT_EQ(machine.replies(5), reports({{3, 3}}));

    // Fifteen rows on from the row being carved.
    machine.send({252, 170});
    EXPECT_EQ(machine.replies(5), reports({{18, 18}}));
    machine.send({252, 85});
    EXPECT_EQ(machine.replies(5), reports({{3, 3}}));
    machine.send({252, 85});
    EXPECT_EQ(machine.replies(5), reports({{0, 0}})); // not above the top row

    machine.send({252, 119});
    EXPECT_EQ(machine.replies(10), reports({{0, 0}, {1, 1}}));

    machine.send({249});
    EXPECT_EQ(machine.model.job(), JobState::Ready);
    EXPECT_EQ(machine.replies(), Bytes{});
    machine.send({241});
    EXPECT_EQ(machine.replies(5), reports({{0, 0}}));

    // Skipping past the last row ends the job.
    for (int i = 0; i < 35; ++i) {
        machine.send({252, 170});
    }
    EXPECT_EQ(machine.replies(), Bytes{102});
    EXPECT_EQ(machine.model.job(), JobState::Finished);
}

TEST(MachineModel, FaultsAddNoiseAndHangUpMidJob) {
    Machine machine({.noiseEvery = 2, .hangUpAfterDots = 5});
    machine.upload({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}});
    machine.send({241});
    const Bytes out = machine.replies();
    ASSERT_EQ(out.size(), 5u * 5 + 2);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 10), reports({{0, 0}, {1, 0}}));
    for (std::uint8_t noise : {out[10], out[21]}) {
        EXPECT_TRUE(noise >= 103 && noise <= 254 && noise != 110) << int{noise};
    }
    EXPECT_EQ(Bytes(out.end() - 5, out.end()), reports({{4, 0}}));
    EXPECT_TRUE(machine.model.wantsHangUp());
    EXPECT_EQ(machine.model.workPiece().burntCount(), 5);
}

TEST(MachineModel, OnlyAWholeImageAfterEraseIsTaken) {
    Machine machine;
    // Erase with no image after it: the next bytes are commands again, and a
    // lone "B" is a burning time.
    machine.send(Bytes(8, 254));
    EXPECT_EQ(machine.model.job(), JobState::NoImage);
    machine.send({'B', 241});
    EXPECT_EQ(machine.model.burningTime(), 'B');
    EXPECT_EQ(machine.replies(), Bytes{102});

    // An upload that stalls is dropped, and what follows is heard.
    Bytes image = test::imageData({{0, 0}});
    machine.send(Bytes(8, 254));
    machine.send(Bytes(image.begin(), image.begin() + 1000), 5000ms);
    machine.send({246}, 6001ms);
    EXPECT_EQ(machine.log[machine.log.size() - 2], "image data: stopped after 1000 bytes, dropped");
    EXPECT_EQ(machine.replies(), Bytes{101});
    EXPECT_EQ(machine.model.job(), JobState::NoImage);

    // A block of the right length with a wrong header is no image.
    image[19] = 0; // width 512 -> 0
    machine.send(Bytes(8, 254));
    machine.send(image);
    EXPECT_EQ(machine.lastLog(), "image data: not a 512 x 512 1-bit image, dropped");
    EXPECT_FALSE(machine.model.hasImage());

    // Erasing during a job stops it.
    machine.upload({{0, 0}, {0, 1}});
    machine.send({241});
    EXPECT_EQ(machine.replies(5), reports({{0, 0}}));
    machine.send(Bytes(8, 254));
    EXPECT_EQ(machine.replies(), Bytes{102});
    EXPECT_EQ(machine.model.job(), JobState::NoImage);
}

TEST(MachineModel, ReversedMotorsMirrorTheHeadNotTheReports) {
    Machine machine;
    machine.upload({{10, 20}, {300, 20}});
    machine.send({244});
    EXPECT_EQ(machine.lastLog(), "carving area: traced 10, 20 to 300, 20");
    machine.send({247, 1, 245, 3});
    EXPECT_EQ(machine.lastLog(), "jog left: head at 10, 0");
    machine.send({241});
    Bytes expected = reports({{10, 20}, {300, 20}});
    expected.push_back(102);
    EXPECT_EQ(machine.replies(), expected);
    const WorkPiece& piece = machine.model.workPiece();
    EXPECT_TRUE(piece.burnt(501, 20));
    EXPECT_TRUE(piece.burnt(211, 20));
    EXPECT_FALSE(piece.burnt(10, 20));
}

} // namespace
} // namespace vexilon::sim
