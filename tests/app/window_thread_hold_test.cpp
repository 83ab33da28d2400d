// While the window thread waits for the machine (the erase wait, an image
// going out at the line rate) the desktop must still see a live window, yet
// nothing of the user's may act before the wait is over.

#include "console_on_the_line.h"
#include "support/window_controls.h"
#include "ui/drop_target.h"

#include <QAbstractButton>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include <poll.h>
#include <unistd.h>

namespace vexilon {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The window manager's side: the ping GNOME and KDE send before they offer to
// kill a window that does not answer.
class Desktop {
public:
    Desktop() : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        // Qt answers to the root window for either kind of listener.
        const std::uint32_t events =
            XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &events);
        protocols_ = atom("WM_PROTOCOLS");
        ping_ = atom("_NET_WM_PING");
    }
    ~Desktop() { xcb_disconnect(connection_); }

    // When the window's answer came, if it came within two seconds.
    std::optional<Clock::time_point> ping(xcb_window_t window) {
        send(window, ping_, ++stamp_);
        const auto deadline = Clock::now() + 2s;
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const bool answer = isAnswer(event);
                std::free(event);
                if (answer) {
                    return Clock::now();
                }
            }
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&fd, 1, 10);
        }
        return std::nullopt;
    }

    // The close button of the title bar.
    void askToClose(xcb_window_t window) {
        send(window, atom("WM_DELETE_WINDOW"), XCB_CURRENT_TIME);
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_),
                                            nullptr)); // it has reached the server
    }

private:
    void send(xcb_window_t window, xcb_atom_t protocol, std::uint32_t stamp) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols_;
        message.data.data32[0] = protocol;
        message.data.data32[1] = stamp;
        message.data.data32[2] = window;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

    xcb_atom_t atom(const char* name) {
        const auto cookie =
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
        const xcb_atom_t value = reply->atom;
        std::free(reply);
        return value;
    }
    bool isAnswer(const xcb_generic_event_t* event) const {
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) {
            return false;
        }
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
        return message->data.data32[0] == ping_ && message->data.data32[1] == stamp_;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_atom_t protocols_ = 0;
    xcb_atom_t ping_ = 0;
    std::uint32_t stamp_ = 0;
};

class WindowThreadHoldTest : public test_support::ConsoleOnTheLine {
protected:
    void SetUp() override {
        ConsoleOnTheLine::SetUp();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QObject::connect(&console.port, &MachineLink::dataArrived, [this] { ++bytesHandled; });
    }

    // Runs `blocking` on the window thread while another program pings the
    // window, clicks "Use Keyboard" and the machine sends a byte.
    void holdWhileTheDesktopActs(const std::function<void()>& blocking) {
        QAbstractButton* box = test_support::controlsOf(window).UseKeyboardCheckBox;
        const QPoint at = box->mapToGlobal(box->rect().center());
        const auto id = static_cast<xcb_window_t>(window.winId());
        std::thread desktop([&] {
            const std::string click = "xdotool mousemove " + std::to_string(at.x()) + " " +
                                      std::to_string(at.y()) + " click 1";
            EXPECT_EQ(std::system(click.c_str()), 0);
            machine.write(std::string_view("\x65", 1)); // verify OK
            clickedAt = Clock::now();
            answeredAt = Desktop().ping(id);
        });
        blocking();
        heldUntil = Clock::now();
        checkedWhileHeld = box->isChecked();
        bytesWhileHeld = bytesHandled;
        desktop.join();
    }

    // The ping was answered while held; the click and the byte came in while
    // held too, but were handled only afterwards.
    void expectAnsweredButNothingHandledUntilAfter() {
        ASSERT_TRUE(answeredAt.has_value());
        EXPECT_LT(*answeredAt, heldUntil);
        EXPECT_LT(clickedAt, heldUntil);
        EXPECT_FALSE(checkedWhileHeld);
        EXPECT_EQ(bytesWhileHeld, 0);
        QAbstractButton* box = test_support::controlsOf(window).UseKeyboardCheckBox;
        EXPECT_TRUE(test_support::waitUntil([&] { return box->isChecked() && bytesHandled == 1; }));
    }

    std::optional<Clock::time_point> answeredAt;
    Clock::time_point clickedAt;
    Clock::time_point heldUntil;
    bool checkedWhileHeld = false;
    int bytesHandled = 0;
    int bytesWhileHeld = 0;
};

TEST_F(WindowThreadHoldTest, ABlockingWaitAnswersPingsAndLeavesClicksAndBytesForAfter) {
    holdWhileTheDesktopActs([] { realBlockingWait()(2500ms); });
    expectAnsweredButNothingHandledUntilAfter();
}

// 24 KiB that the machine takes slowly, as a line at 57600 baud would.
TEST_F(WindowThreadHoldTest, ALongSendAnswersPingsAndLeavesClicksAndBytesForAfter) {
    std::atomic<bool> sent = false;
    std::thread slowMachine([&] {
        std::vector<std::uint8_t> chunk(1024);
        std::size_t taken = 0;
        while (taken < 24 * 1024 && !sent) {
            pollfd fd{machine.master(), POLLIN, 0};
            if (poll(&fd, 1, 50) > 0) {
                const ssize_t n = ::read(machine.master(), chunk.data(), chunk.size());
                taken += n > 0 ? static_cast<std::size_t>(n) : 0;
            }
            std::this_thread::sleep_for(30ms);
        }
    });
    bool ok = false;
    holdWhileTheDesktopActs([&] {
        ok = console.port.send(std::vector<std::uint8_t>(24 * 1024, 0x55));
        sent = true;
    });
    slowMachine.join();
    EXPECT_TRUE(ok);
    expectAnsweredButNothingHandledUntilAfter();
}

// Closing in the middle of an upload would leave the machine half an image:
// the close waits its turn like a click.
TEST_F(WindowThreadHoldTest, TheCloseButtonActsOnlyOnceTheWaitIsOver) {
    const auto id = static_cast<xcb_window_t>(window.winId());
    bool visibleAfterTheWait = false;
    {
        const WindowThreadHold hold;
        Desktop().askToClose(id);
        realBlockingWait()(300ms);
        visibleAfterTheWait = window.isVisible();
    }
    EXPECT_TRUE(visibleAfterTheWait);
    EXPECT_TRUE(test_support::waitUntil([&] { return !window.isVisible(); }));
}

// A picture taken in during an upload would change what is being sent.
TEST_F(WindowThreadHoldTest, ADropWhileHeldIsRefused) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/nonexistent/picture.bmp"))});
    QWidget* preview = test_support::controlsOf(window).PreviewPicture;
    window.dropTarget()->registerWindow(&window); // as start-up does
    for (const bool held : {true, false}) {
        std::optional<WindowThreadHold> hold;
        if (held) {
            hold.emplace();
        }
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(preview, &enter);
        EXPECT_EQ(enter.isAccepted(), !held);
    }
}

} // namespace
} // namespace vexilon
