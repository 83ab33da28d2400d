#include "link/serial_channel.h"

#include "pty_port.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>

namespace vexilon {
namespace {

using namespace std::chrono_literals;
using test::PtyPort;

// Polls `done` until it holds or `limit` passes; window-thread events are
// handled meanwhile only when `handleEvents` is set.
template <class Condition>
bool waitUntil(Condition done, bool handleEvents = true, std::chrono::milliseconds limit = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (handleEvents) {
            QCoreApplication::processEvents();
        }
        std::this_thread::yield();
    }
    return true;
}

// Counts the events of the channel's own types (the notices from the watcher).
class NoticeCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() >= QEvent::User;
        return false;
    }
    std::size_t count = 0;
};

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

class SerialChannelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "link_serial_channel_test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) {
            new QCoreApplication(argc, argv);
        }
    }

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QObject::connect(&channel, &SerialChannel::dataArrived, [this](int byte) {
            received.push_back(static_cast<std::uint8_t>(byte));
            offWindowThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        });
    }

    // Handles events until `count` bytes were raised in all.
    bool receive(std::size_t count) {
        return waitUntil([&] { return received.size() >= count; });
    }

    QTemporaryDir dir;
    std::filesystem::path links{dir.path().toStdString()};
    PtyPort machine{links, 1};
    SerialChannel channel{links};
    std::vector<std::uint8_t> received;
    bool offWindowThread = false;
};

TEST_F(SerialChannelTest, OpenSetsTheLineAndDiscardsEarlierInput) {
    termios messy = machine.settings();
    messy.c_cflag =
        static_cast<tcflag_t>((messy.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB | CRTSCTS);
    messy.c_iflag |= IXON | IXOFF | ICRNL;
    messy.c_lflag |= ICANON | ECHO | ISIG;
    cfsetspeed(&messy, B9600);
    machine.setSettings(messy);
    machine.write("stale"); // held as a half line until the channel goes raw

    ASSERT_TRUE(channel.open());
    EXPECT_TRUE(channel.isOpen());
    EXPECT_EQ(channel.openError(), SerialOpenError::None);
    EXPECT_EQ(channel.objectName(), "SerialPort");

    const termios line = machine.settings();
    EXPECT_EQ(cfgetispeed(&line), B57600);
    EXPECT_EQ(cfgetospeed(&line), B57600);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t{CS8});
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), tcflag_t{CLOCAL | CREAD});
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP | INPCK), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(line.c_cc[VMIN], 1);

    machine.write("\r\x11\xff");
    ASSERT_TRUE(receive(3));
    EXPECT_EQ(received, bytesOf("\r\x11\xff"));
}

TEST_F(SerialChannelTest, SecondOpenOfTheSamePortIsRefused) {
    SerialChannel other{links};
    ASSERT_TRUE(channel.open());
    EXPECT_FALSE(other.open());
    EXPECT_FALSE(other.isOpen());
    EXPECT_EQ(other.openError(), SerialOpenError::Busy);
    EXPECT_TRUE(channel.send(std::uint8_t{7}));
    EXPECT_EQ(machine.read(1), bytesOf("\x07"));

    channel.close();
    EXPECT_TRUE(other.open());
}

TEST_F(SerialChannelTest, OpenFailuresKeepTheirCause) {
    channel.setPortNumber(2);
    EXPECT_FALSE(channel.open());
    EXPECT_EQ(channel.openError(), SerialOpenError::NoSuchPort);

    std::filesystem::create_symlink(links / "gone", links / "COM3");
    channel.setPortNumber(3);
    EXPECT_FALSE(channel.open());
    EXPECT_EQ(channel.openError(), SerialOpenError::NoSuchPort);

    std::ofstream(links / "plain") << "not a terminal";
    std::filesystem::create_symlink(links / "plain", links / "COM4");
    channel.setPortNumber(4);
    EXPECT_FALSE(channel.open());
    EXPECT_EQ(channel.openError(), SerialOpenError::Other);
    EXPECT_FALSE(channel.isOpen());
    EXPECT_FALSE(channel.send(std::uint8_t{1}));
}

TEST_F(SerialChannelTest, PortNumbersBelowOneOpenPortOne) {
    channel.setPortNumber(5);
    channel.setPortNumber(0);
    EXPECT_EQ(channel.portNumber(), 1);
    EXPECT_TRUE(channel.open());
    channel.setPortNumber(-7);
    EXPECT_EQ(channel.portNumber(), 1);
    EXPECT_TRUE(channel.open()); // reopening closes first, so the lock is ours again
}

TEST_F(SerialChannelTest, ImageSizedSendArrivesWholeAndReturnsAfterTheWrite) {
    std::vector<std::uint8_t> image(32830);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    ASSERT_TRUE(channel.open());

    // A pseudo-terminal holds far less than an image, so the send cannot
    // have returned before the machine starts reading.
    std::atomic<bool> sendReturned = false;
    bool returnedBeforeReading = true;
    std::vector<std::uint8_t> got;
    std::thread reader([&] {
        pollfd fd{machine.master(), POLLIN, 0};
        poll(&fd, 1, 10000);
        returnedBeforeReading = sendReturned;
        got = machine.read(image.size());
    });
    const bool sent = channel.send(image);
    sendReturned = true;
    channel.close();
    reader.join();

    EXPECT_TRUE(sent);
    EXPECT_FALSE(returnedBeforeReading);
    EXPECT_EQ(got, image);
}

TEST_F(SerialChannelTest, BurstIsRaisedByteByByteInOrderOnTheWindowThread) {
    constexpr std::size_t kCount = 100000;
    std::vector<std::uint8_t> burst(kCount);
    for (std::size_t i = 0; i < kCount; ++i) {
        burst[i] = static_cast<std::uint8_t>(i % 251);
    }
    NoticeCounter notices;
    channel.installEventFilter(&notices);
    ASSERT_TRUE(channel.open());
    std::thread writer([&] { machine.write(burst); });
    const bool all = receive(kCount);
    writer.join();

    ASSERT_TRUE(all) << received.size();
    QCoreApplication::processEvents();
    EXPECT_EQ(received, burst); // also: no byte raised twice
    EXPECT_FALSE(offWindowThread);
    EXPECT_LT(notices.count, kCount / 10); // one notice covers a whole batch
}

TEST_F(SerialChannelTest, NestedEventLoopInAHandlerKeepsTheOrder) {
    ASSERT_TRUE(channel.open());
    bool nested = false;
    QObject::connect(&channel, &SerialChannel::dataArrived, [&](int byte) {
        if (byte == 'a' && !nested) {
            nested = true; // like a message box shown while handling a reply
            machine.write("cd");
            waitUntil([&] { return received.size() >= 4; });
        }
    });
    machine.write("ab");
    ASSERT_TRUE(waitUntil([&] { return channel.pendingEventCount() == 2; }, false));
    ASSERT_TRUE(receive(4));
    EXPECT_EQ(received, bytesOf("abcd"));
}

TEST_F(SerialChannelTest, SendDiscardsUnreadInputButRaisesWhatWasQueued) {
    ASSERT_TRUE(channel.open());
    machine.write("123");
    ASSERT_TRUE(waitUntil([&] { return channel.pendingEventCount() == 3; }, false));

    // A half line in canonical mode stays unreadable: the watcher cannot take
    // it before the send does.
    const termios raw = machine.settings();
    termios canonical = raw;
    canonical.c_lflag |= ICANON;
    machine.setSettings(canonical);
    machine.write("abc");
    EXPECT_TRUE(channel.send(std::uint8_t{'Z'}));
    machine.setSettings(raw); // unflushed, "abc" would become readable now
    machine.write("xyz");

    ASSERT_TRUE(receive(6));
    EXPECT_EQ(received, bytesOf("123xyz"));
    EXPECT_EQ(machine.read(1), bytesOf("Z"));
}

TEST_F(SerialChannelTest, CloseDropsEventsNotYetRaised) {
    ASSERT_TRUE(channel.open());
    machine.write("hello");
    ASSERT_TRUE(waitUntil([&] { return channel.pendingEventCount() == 5; }, false));
    channel.close();
    EXPECT_EQ(channel.pendingEventCount(), 0u);
    QCoreApplication::processEvents();
    EXPECT_TRUE(received.empty());

    // A handler that closes and reopens in the middle of a burst drops the
    // rest of it.
    ASSERT_TRUE(channel.open());
    QObject::connect(&channel, &SerialChannel::dataArrived, [&](int byte) {
        if (byte == 'a') {
            channel.open();
        }
    });
    machine.write("abc");
    ASSERT_TRUE(waitUntil([&] { return channel.pendingEventCount() == 3; }, false));
    ASSERT_TRUE(receive(1));
    machine.write("d");
    ASSERT_TRUE(receive(2));
    QCoreApplication::processEvents();
    EXPECT_EQ(received, bytesOf("ad"));
}

TEST_F(SerialChannelTest, SendOnAClosedChannelFailsAndWritesNothing) {
    const std::vector<std::uint8_t> none;
    EXPECT_FALSE(channel.send(std::uint8_t{1}));
    EXPECT_FALSE(channel.send(none));
    ASSERT_TRUE(channel.open());
    EXPECT_TRUE(channel.send(none));
    channel.close();
    channel.close();
    EXPECT_FALSE(channel.send(bytesOf("late")));
    EXPECT_FALSE(machine.hasInput());
}

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

TEST_F(SerialChannelTest, HangUpEndsTheWatcherWithoutSpinning) {
    ASSERT_TRUE(channel.open());
    machine.hangUp();
    ASSERT_TRUE(waitUntil([&] { return channel.isHungUp(); }, false));

    const double before = processCpuSeconds();
    std::this_thread::sleep_for(1s); // the one fixed wait: spinning shows only over time
    EXPECT_LT(processCpuSeconds() - before, 0.1);

    EXPECT_FALSE(channel.send(std::uint8_t{1}));
    EXPECT_FALSE(channel.send(bytesOf("image")));
    channel.close();
    EXPECT_FALSE(channel.isOpen());
    EXPECT_FALSE(channel.isHungUp());
}

} // namespace
} // namespace vexilon
