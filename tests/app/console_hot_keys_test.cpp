#include "console_on_the_line.h"
#include "control/control_events.h"
#include "support/window_controls.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <poll.h>

namespace vexilon {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr xcb_keysym_t kUp = 0xff52;
constexpr xcb_keysym_t kDown = 0xff54;
constexpr xcb_keysym_t kLeft = 0xff51;

// Presses and releases a key on the X server, as a keyboard would.
void press(const std::string& key) {
    ASSERT_EQ(std::system(("xdotool key " + key).c_str()), 0) << key;
}

// Another program on the same X server: a focused window of its own that
// collects the key presses it is given, and grabs of its own.
class OtherProgram {
public:
    OtherProgram() : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        symbols_ = xcb_key_symbols_alloc(connection_);
    }
    ~OtherProgram() {
        xcb_key_symbols_free(symbols_);
        xcb_disconnect(connection_);
    }

    xcb_keycode_t keycode(xcb_keysym_t keysym) const {
        std::unique_ptr<xcb_keycode_t, decltype(&std::free)> codes(
            xcb_key_symbols_get_keycode(symbols_, keysym), &std::free);
        return codes ? codes.get()[0] : 0;
    }

    void takeTheFocus() {
        const xcb_window_t window = xcb_generate_id(connection_);
        const std::uint32_t events = XCB_EVENT_MASK_KEY_PRESS;
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        xcb_map_window(connection_, window);
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        presses(0);
    }

    bool grab(xcb_keycode_t keycode, std::uint16_t modifiers) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            connection_, 0, root_, modifiers, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
        std::free(error);
        return error == nullptr;
    }

    // Presses of the key that reached this program, after waiting up to ten
    // seconds for the first one when asked to.
    int presses(xcb_keycode_t keycode, bool wait = false) {
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_),
                                            nullptr)); // everything sent so far is in
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        int count = 0;
        do {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                count += (event->response_type & 0x7f) == XCB_KEY_PRESS &&
                         reinterpret_cast<xcb_key_press_event_t*>(event)->detail == keycode;
                std::free(event);
            }
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            if (count == 0 && wait) {
                poll(&fd, 1, 100);
            }
        } while (count == 0 && wait && std::chrono::steady_clock::now() < deadline);
        return count;
    }

private:
    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_key_symbols_t* symbols_ = nullptr;
};

class ConsoleHotKeys : public test_support::ConsoleOnTheLine {
protected:
    void SetUp() override {
        ConsoleOnTheLine::SetUp();
        other.takeTheFocus();
        // The keys work whatever the state of the jog buttons.
        applyControlEvent(window, ControlEvent::StartUp);
    }

    std::vector<int> identifiers() {
        const ArrowHotKeys& keys = console.features.jogging.arrowHotKeys();
        return {keys.up, keys.down, keys.left, keys.right};
    }
    // Presses the arrow and waits for the jog it runs.
    void jogsBy(const std::string& key, std::uint8_t direction) {
        press(key);
        const std::string expected = "Laser Movement : " + key + "\n";
        const Bytes bytes{245, direction};
        ASSERT_TRUE(test_support::waitUntil([&] { return log().size() > logMark; })) << key;
        EXPECT_EQ(newLog(), expected) << key;
        EXPECT_EQ(wire(bytes.size()), bytes) << key;
    }

    OtherProgram other;
};

TEST_F(ConsoleHotKeys, CheckedArrowsJogForTheConsoleAloneUncheckedOnesGoBack) {
    const xcb_keycode_t up = other.keycode(kUp);
    test_support::controlsOf(window).UseKeyboardCheckBox->click();
    EXPECT_EQ(identifiers(), (std::vector{33001, 33002, 33003, 33004}));

    jogsBy("Up", 1);
    jogsBy("Down", 2);
    jogsBy("Left", 3);
    jogsBy("Right", 4);
    EXPECT_EQ(other.presses(up), 0);

    // Neither lock key switches the grab off.
    press("Caps_Lock");
    jogsBy("Up", 1);
    press("Num_Lock");
    jogsBy("Up", 1);
    press("Caps_Lock");
    jogsBy("Up", 1);
    press("Num_Lock");

    test_support::controlsOf(window).UseKeyboardCheckBox->click();
    EXPECT_EQ(identifiers(), (std::vector{33001, 33002, 33003, 33004}));
    press("Up");
    EXPECT_EQ(other.presses(up, true), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(newLog(), "");

    test_support::controlsOf(window).UseKeyboardCheckBox->click();
    EXPECT_EQ(identifiers(), (std::vector{33005, 33006, 33007, 33008}));
    jogsBy("Right", 4);
    console.features.jogging.hotKeyPressed(33004); // the old Right
    EXPECT_EQ(newLog(), "");
    EXPECT_EQ(other.presses(up), 0);
}

// When each jog byte reached the machine's end of the line.
class TimedWire {
public:
    using Clock = std::chrono::steady_clock;
    explicit TimedWire(int master)
        : reader_([this, master] {
              while (!stop_) {
                  pollfd fd{master, POLLIN, 0};
                  std::uint8_t byte = 0;
                  if (poll(&fd, 1, 20) > 0 && ::read(master, &byte, 1) == 1 && byte == 245) {
                      const std::lock_guard lock(mutex_);
                      jogs_.push_back(Clock::now());
                  }
              }
          }) {}
    ~TimedWire() {
        stop_ = true;
        reader_.join();
    }
    std::vector<Clock::time_point> jogs() {
        const std::lock_guard lock(mutex_);
        return jogs_;
    }

private:
    std::mutex mutex_;
    std::vector<Clock::time_point> jogs_;
    std::atomic<bool> stop_ = false;
    std::thread reader_;
};

// Auto-repeat (25 a second here) outruns a jog and its 50 ms wait; the head
// must still stop when the key is let go, not work off a queue of repeats.
TEST_F(ConsoleHotKeys, AHeldKeyJogsAtMostEvery50MsAndStopsWhenReleased) {
    using namespace std::chrono_literals;
    test_support::controlsOf(window).UseKeyboardCheckBox->click();
    TimedWire wire(machine.master());
    std::atomic<bool> released = false;
    TimedWire::Clock::time_point releasedAt;
    std::thread hand([&] {
        EXPECT_EQ(std::system("xdotool keydown Left sleep 3 keyup Left"), 0);
        releasedAt = TimedWire::Clock::now(); // the release itself came a little earlier
        released = true;
    });
    test_support::waitUntil([&] { return released.load(); }, 20s);
    hand.join();
    const auto settled = TimedWire::Clock::now() + 500ms;
    test_support::waitUntil([&] { return TimedWire::Clock::now() >= settled; });

    const auto jogs = wire.jogs();
    ASSERT_GE(jogs.size(), 20u);
    EXPECT_LE(jogs.back() - releasedAt, 100ms);
    for (std::size_t i = 1; i < jogs.size(); ++i) {
        EXPECT_GE(jogs[i] - jogs[i - 1], 45ms) << i; // the line reader's own jitter aside
    }
}

// With NumLock off the keypad's arrows are arrows; with it on they are
// digits, and the console leaves them alone.
TEST_F(ConsoleHotKeys, KeypadArrowsJogWhileNumLockIsOff) {
    const xcb_keycode_t keypadLeft = other.keycode(0xff96);
    ASSERT_NE(keypadLeft, 0);
    test_support::controlsOf(window).UseKeyboardCheckBox->click();
    press("KP_Left");
    ASSERT_TRUE(test_support::waitUntil([&] { return log().size() > logMark; }));
    EXPECT_EQ(newLog(), "Laser Movement : Left\n");
    EXPECT_EQ(wire(2), (Bytes{245, 3}));
    press("KP_Up");
    ASSERT_TRUE(test_support::waitUntil([&] { return log().size() > logMark; }));
    EXPECT_EQ(newLog(), "Laser Movement : Up\n");
    EXPECT_EQ(wire(2), (Bytes{245, 1}));

    press("Num_Lock");
    press("KP_4");
    EXPECT_EQ(other.presses(keypadLeft, true), 1);
    press("Num_Lock");
    QCoreApplication::processEvents();
    EXPECT_EQ(newLog(), "");
}

TEST_F(ConsoleHotKeys, AKeyAnotherProgramHoldsIsRefusedAloneAndStaysWithIt) {
    const xcb_keycode_t down = other.keycode(kDown);
    const xcb_keycode_t left = other.keycode(kLeft);
    ASSERT_TRUE(other.grab(down, 0));
    ASSERT_TRUE(other.grab(left, XCB_MOD_MASK_2)); // NumLock only

    test_support::controlsOf(window).UseKeyboardCheckBox->click();
    EXPECT_EQ(identifiers(), (std::vector{33001, 0, 0, 33004}));
    press("Down");
    EXPECT_EQ(other.presses(down, true), 1);
    press("Left"); // no grab of the refused key was left behind
    EXPECT_EQ(other.presses(left, true), 1);
    jogsBy("Up", 1); // and no Down before it

    test_support::controlsOf(window)
        .UseKeyboardCheckBox->click(); // releasing the refused key is harmless
    press("Down");
    EXPECT_EQ(other.presses(down, true), 1);
}

} // namespace
} // namespace vexilon
