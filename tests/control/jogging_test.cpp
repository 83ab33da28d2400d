#include "support/qt_environment.h"

#include "control/jogging.h"

#include <QCheckBox>
#include <QPushButton>

#include <set>
#include <string>
#include <vector>

namespace vexilon {
namespace {

using Steps = std::vector<std::string>;

// Hot keys that hand out identifiers as the console's facility does: one per
// attempt from 33001, 0 for a key another program holds.
struct FakeHotKeys {
    int attempts = 0;
    std::set<Qt::Key> heldElsewhere;
    std::vector<Qt::Key> taken;
    std::vector<int> released;

    int take(Qt::Key key) {
        const int identifier = 33001 + attempts++;
        taken.push_back(key);
        return heldElsewhere.count(key) != 0 ? 0 : identifier;
    }
};

// Every send, line and wait goes into one list, so their order shows.
class JoggingTest : public ::testing::Test {
protected:
    QPushButton up, down, left, right, origin, middle, carvingPreview;
    QCheckBox useKeyboard;
    FakeHotKeys hotKeys;
    Steps steps;
    Jogging jogging{
        PositioningButtons{up, down, left, right, origin, middle, carvingPreview, useKeyboard},
        HotKeyService{[this](Qt::Key key) { return hotKeys.take(key); },
                      [this](int identifier) { hotKeys.released.push_back(identifier); }},
        [this](std::uint8_t byte) { steps.push_back("send " + std::to_string(byte)); },
        [this](const QString& text) { steps.push_back(text.toStdString()); },
        [this](std::chrono::milliseconds time) {
            steps.push_back("wait " + std::to_string(time.count()));
        }};

    Steps take() { return std::exchange(steps, {}); }
    std::vector<int> identifiers() const {
        const ArrowHotKeys& keys = jogging.arrowHotKeys();
        return {keys.up, keys.down, keys.left, keys.right};
    }
};

Steps jogSteps(int direction, const char* name) {
    return {"send 245", "send " + std::to_string(direction),
            std::string("Laser Movement : ") + name + "\r\n", "wait 50"};
}

TEST_F(JoggingTest, EachButtonSendsItsCommandLogsItsLineAndOnlyJogsWait) {
    const struct {
        const char* name;
        QPushButton& button;
        Steps steps;
    } cases[] = {
        {"up", up, jogSteps(1, "Up")},
        {"down", down, jogSteps(2, "Down")},
        {"left", left, jogSteps(3, "Left")},
        {"right", right, jogSteps(4, "Right")},
        {"origin", origin, {"send 243", "To Origin\r\n\r\n"}},
        {"middle", middle, {"send 251", "To Middle of Image\r\n"}},
        {"carving area", carvingPreview, {"send 244", "Simulation Carving Area...\r\n\r\n"}},
    };
    for (const auto& c : cases) {
        c.button.click();
        EXPECT_EQ(take(), c.steps) << c.name;
    }
}

TEST_F(JoggingTest, EachCheckTakesTheArrowsAfreshAndUncheckingKeepsTheirIdentifiers) {
    useKeyboard.click();
    EXPECT_EQ(hotKeys.taken, (std::vector{Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right}));
    EXPECT_EQ(identifiers(), (std::vector{33001, 33002, 33003, 33004}));

    useKeyboard.click();
    EXPECT_EQ(hotKeys.released, (std::vector{33001, 33002, 33003, 33004}));
    EXPECT_EQ(identifiers(), (std::vector{33001, 33002, 33003, 33004}));

    useKeyboard.click();
    EXPECT_EQ(identifiers(), (std::vector{33005, 33006, 33007, 33008}));
    // Setting the box by code is not a click: nothing is taken or released.
    useKeyboard.setChecked(false);
    EXPECT_EQ(hotKeys.attempts, 8);
    EXPECT_EQ(hotKeys.released.size(), 4u);

    // Dispatch by the latest identifiers only, whatever the buttons' state.
    up.setEnabled(false);
    down.setEnabled(false);
    for (const int stale : {33001, 33002, 33003, 33004, 0, 40000}) {
        jogging.hotKeyPressed(stale);
    }
    EXPECT_TRUE(take().empty());
    jogging.hotKeyPressed(33006);
    EXPECT_EQ(take(), jogSteps(2, "Down"));
    jogging.hotKeyPressed(33007);
    jogging.hotKeyPressed(33005);
    Steps expected = jogSteps(3, "Left");
    const Steps thenUp = jogSteps(1, "Up");
    expected.insert(expected.end(), thenUp.begin(), thenUp.end());
    EXPECT_EQ(take(), expected);
}

TEST_F(JoggingTest, AKeyHeldElsewhereGetsZeroAndNeverFiresWhileTheOthersDo) {
    hotKeys.heldElsewhere = {Qt::Key_Left};
    useKeyboard.click();
    EXPECT_EQ(identifiers(), (std::vector{33001, 33002, 0, 33004}));

    jogging.hotKeyPressed(0);
    jogging.hotKeyPressed(33003); // the number the refused key used up
    EXPECT_TRUE(take().empty());
    jogging.hotKeyPressed(33004);
    EXPECT_EQ(take(), jogSteps(4, "Right"));
}

} // namespace
} // namespace vexilon
