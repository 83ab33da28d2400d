#include "link/serial/serial_channel.h"
#include "support/pseudo_terminal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vexilon {
namespace {

using namespace std::chrono_literals;

// Polls `done` until it holds or ten seconds pass, handling window-thread
// events meanwhile only when asked to.
template <class Condition> bool waitUntil(Condition done, bool handleEvents = true) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        if (handleEvents) {
            QCoreApplication::processEvents();
        }
        std::this_thread::yield();
    }
    return done();
}

std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Counts the notices the watcher posts to the channel (its only user events).
struct NoticeCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() >= QEvent::User;
        return false;
    }
    std::size_t count = 0;
};

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
        QObject::connect(&channel, &SerialChannel::dataArrived, [this](int byte) {
            received.push_back(static_cast<std::uint8_t>(byte));
            offWindowThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        });
    }

    bool receive(std::size_t count) {
        return waitUntil([&] { return received.size() >= count; });
    }
    bool queued(std::size_t count) {
        return waitUntil([&] { return channel.pendingEventCount() == count; }, false);
    }
    termios line() const {
        termios t{};
        tcgetattr(machine.master(), &t);
        return t;
    }

    QTemporaryDir dir;
    std::filesystem::path links{dir.path().toStdString()};
    test_support::PseudoTerminal machine{links, 1}; // the machine's end of the line
    SerialChannel channel{links};
    std::vector<std::uint8_t> received;
    bool offWindowThread = false;
};

TEST_F(SerialChannelTest, OpenSetsTheLineAndDiscardsEarlierInput) {
    termios messy = line();
    messy.c_cflag = (messy.c_cflag & ~tcflag_t{CSIZE}) | CS7 | PARENB | CSTOPB | CRTSCTS;
    messy.c_iflag |= IXON | IXOFF | ICRNL;
    messy.c_lflag |= ICANON | ECHO | ISIG;
    cfsetspeed(&messy, B9600);
    tcsetattr(machine.master(), TCSANOW, &messy);
    machine.write("stale"); // a half line, readable once the line goes raw

    ASSERT_TRUE(channel.open());
    EXPECT_EQ(channel.objectName(), "SerialPort");
    const termios set = line();
    EXPECT_EQ(cfgetispeed(&set), B57600);
    EXPECT_EQ(cfgetospeed(&set), B57600);
    EXPECT_EQ(set.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD),
              tcflag_t{CS8 | CLOCAL | CREAD});
    EXPECT_EQ(set.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(set.c_lflag & (ICANON | ECHO | ISIG), 0u);

    machine.write("\r\x11\xff");
    ASSERT_TRUE(receive(3));
    EXPECT_EQ(received, bytes("\r\x11\xff"));
}

// Busy ports, missing links and numbers below 1 are met in the connection
// scenarios; here: the lock a second open must not leak, and the other causes.
TEST_F(SerialChannelTest, RefusedOpensKeepTheirCauseAndLeaveTheChannelClosed) {
    SerialChannel other{links};
    ASSERT_TRUE(channel.open());
    EXPECT_TRUE(channel.open()); // opening again closes first, so the lock is free
    channel.close();
    EXPECT_TRUE(other.open());

    std::filesystem::create_symlink(links / "gone", links / "COM3");
    std::ofstream(links / "plain") << "not a terminal";
    std::filesystem::create_symlink(links / "plain", links / "COM4");
    for (auto [port, cause] :
         {std::pair{3, SerialOpenError::NoSuchPort}, {4, SerialOpenError::Other}}) {
        channel.setPortNumber(port);
        EXPECT_FALSE(channel.open()) << port;
        EXPECT_EQ(channel.openError(), cause) << port;
        EXPECT_FALSE(channel.isOpen());
    }
}

TEST_F(SerialChannelTest, BurstIsRaisedByteByByteInOrderOnTheWindowThread) {
    std::string burst(100000, '\0');
    for (std::size_t i = 0; i < burst.size(); ++i) {
        burst[i] = static_cast<char>(i % 251);
    }
    NoticeCounter notices;
    channel.installEventFilter(&notices);
    ASSERT_TRUE(channel.open());
    std::thread writer([&] { machine.write(burst); });
    const bool all = receive(burst.size());
    writer.join();
    ASSERT_TRUE(all) << received.size();

    QCoreApplication::processEvents();
    EXPECT_EQ(received, bytes(burst)); // none lost, none twice
    EXPECT_FALSE(offWindowThread);
    EXPECT_LT(notices.count, burst.size() / 10); // one notice covers a batch
}

// Position reports only move the shown dot, which is painted once a frame:
// they are handed over at most that often. Anything else is handed over as
// soon as it is read, with the reports before it.
TEST_F(SerialChannelTest, RoutineBytesWaitForTheFrameOthersDoNot) {
    channel.setRoutineBytes([](std::uint8_t byte) { return byte < 100; });
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> raisedAt;
    QObject::connect(&channel, &SerialChannel::dataArrived,
                     [&] { raisedAt.push_back(clock.elapsed()); });
    ASSERT_TRUE(channel.open());

    machine.write("\x01");
    ASSERT_TRUE(receive(1));
    machine.write("\x02"); // a frame after the first, however soon it comes
    ASSERT_TRUE(receive(2));
    EXPECT_GE(raisedAt[1] - raisedAt[0], 16);

    const qint64 writtenAt = clock.elapsed();
    machine.write("\x03\x66"); // carving stopped must not wait for the frame
    ASSERT_TRUE(receive(4));
    EXPECT_EQ(received, bytes("\x01\x02\x03\x66"));
    EXPECT_LT(raisedAt[3] - writtenAt, 12);
}

TEST_F(SerialChannelTest, NestedEventLoopInAHandlerKeepsTheOrder) {
    ASSERT_TRUE(channel.open());
    QObject::connect(&channel, &SerialChannel::dataArrived, [&](int byte) {
        if (byte == 'a') { // like a message box shown while handling a reply
            machine.write("cd");
            waitUntil([&] { return received.size() >= 4; });
        }
    });
    machine.write("ab");
    ASSERT_TRUE(queued(2));
    ASSERT_TRUE(receive(4));
    EXPECT_EQ(received, bytes("abcd"));
}

// A half line in canonical mode cannot be read: it waits in the port, unread,
// until the line goes raw again.
TEST_F(SerialChannelTest, SendsKeepUnreadInputAndOnlyDiscardInputDropsIt) {
    ASSERT_TRUE(channel.open());
    machine.write("123");
    ASSERT_TRUE(queued(3));
    const termios raw = line();
    termios canonical = raw;
    canonical.c_lflag |= ICANON;

    tcsetattr(machine.master(), TCSANOW, &canonical);
    machine.write("abc");
    EXPECT_TRUE(channel.send(std::uint8_t{'Z'}));
    tcsetattr(machine.master(), TCSANOW, &raw);
    ASSERT_TRUE(receive(6));
    EXPECT_EQ(received, bytes("123abc"));
    EXPECT_EQ(machine.read(1), bytes("Z"));

    tcsetattr(machine.master(), TCSANOW, &canonical);
    machine.write("def");
    channel.discardInput();
    tcsetattr(machine.master(), TCSANOW, &raw);
    machine.write("xyz");
    ASSERT_TRUE(receive(9));
    EXPECT_EQ(received, bytes("123abcxyz"));
}

TEST_F(SerialChannelTest, CloseDropsEventsNotYetRaised) {
    ASSERT_TRUE(channel.open());
    machine.write("hello");
    ASSERT_TRUE(queued(5));
    channel.close();
    EXPECT_EQ(channel.pendingEventCount(), 0u);
    QCoreApplication::processEvents();
    EXPECT_TRUE(received.empty());

    // Closing (here: reopening) inside a handler drops the rest of the burst.
    ASSERT_TRUE(channel.open());
    QObject::connect(&channel, &SerialChannel::dataArrived, [&](int byte) {
        if (byte == 'a') {
            channel.open();
        }
    });
    machine.write("abc");
    ASSERT_TRUE(queued(3));
    ASSERT_TRUE(receive(1));
    machine.write("d");
    ASSERT_TRUE(receive(2));
    QCoreApplication::processEvents();
    EXPECT_EQ(received, bytes("ad"));

    // A hang-up goes the same way.
    bool hangUpRaised = false;
    QObject::connect(&channel, &SerialChannel::hungUp, [&] { hangUpRaised = true; });
    machine.hangUp();
    ASSERT_TRUE(queued(1));
    channel.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(hangUpRaised);
}

TEST_F(SerialChannelTest, SendsFailWhenClosedOrHungUp) {
    EXPECT_FALSE(channel.send(std::uint8_t{1}));
    ASSERT_TRUE(channel.open());
    EXPECT_TRUE(channel.send(std::vector<std::uint8_t>{}));
    machine.hangUp();
    ASSERT_TRUE(waitUntil([&] { return channel.isHungUp(); }, false));

    EXPECT_FALSE(channel.send(std::uint8_t{1}));
    channel.close();
    channel.close();
    EXPECT_FALSE(channel.isHungUp());
    EXPECT_FALSE(channel.send(bytes("late")));
}

TEST_F(SerialChannelTest, HangUpIsRaisedOnceAfterTheBytesBeforeIt) {
    std::string order;
    QObject::connect(&channel, &SerialChannel::hungUp, [&] { order += '!'; });
    QObject::connect(&channel, &SerialChannel::dataArrived,
                     [&](int byte) { order += static_cast<char>(byte); });
    ASSERT_TRUE(channel.open());
    machine.write("abc");
    ASSERT_TRUE(queued(3));
    machine.hangUp();
    ASSERT_TRUE(waitUntil([&] { return order.size() >= 4; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(order, "abc!");
}

TEST_F(SerialChannelTest, CloseClearsTheExclusiveFlag) {
    ASSERT_TRUE(channel.open());
    channel.close();
    // Root could reopen even with the flag left set, so the flag itself is
    // read; for anyone else the open below would already fail as busy.
    const int fd = ::open(machine.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    int exclusive = -1;
    EXPECT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(fd);
}

TEST_F(SerialChannelTest, ARefusedSecondOpenLeavesTheFirstOnesHoldAlone) {
    ASSERT_TRUE(channel.open());
    SerialChannel second{links};
    second.setPortNumber(1);
    EXPECT_FALSE(second.open()); // the file lock, which even root cannot pass
    EXPECT_EQ(second.openError(), SerialOpenError::Busy);
    const int fd = ::open(machine.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    int exclusive = -1;
    EXPECT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    ::close(fd);
}

// A peer writing as fast as the line takes bytes: the console holds a bounded
// backlog (the rest waits in the line, the writer blocked), and raises it in
// slices between which the event loop turns.
TEST_F(SerialChannelTest, AFloodIsHeldBackByTheLineAndRaisedInSlices) {
    // Handling a byte costs a microsecond here, as painting a dot might.
    QObject::connect(&channel, &SerialChannel::dataArrived, [] {
        const auto until = std::chrono::steady_clock::now() + 1us;
        while (std::chrono::steady_clock::now() < until) {
        }
    });
    ASSERT_TRUE(channel.open());
    constexpr std::size_t kFlood = 1 << 18;
    std::vector<std::uint8_t> flood(kFlood);
    for (std::size_t i = 0; i < kFlood; ++i) {
        flood[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    std::atomic<std::size_t> written = 0;
    std::thread peer([&] {
        for (std::size_t at = 0; at < kFlood; at += 4096) {
            machine.write(std::vector(flood.begin() + static_cast<std::ptrdiff_t>(at),
                                      flood.begin() + static_cast<std::ptrdiff_t>(at + 4096)));
            written = at + 4096;
        }
    });
    const std::size_t capacity = SerialEventQueue::kCapacity;
    ASSERT_TRUE(waitUntil([&] { return channel.pendingEventCount() >= capacity; }, false));
    const std::size_t writtenThen = written;
    ASSERT_TRUE(waitUntil([&] { return written == writtenThen; }, false)); // the writer waits
    EXPECT_LT(written.load(), kFlood);
    EXPECT_LE(channel.pendingEventCount(), capacity + 4096);

    std::size_t raisedBeforeTheLoopTurned = 0;
    QTimer::singleShot(0, [&] { raisedBeforeTheLoopTurned = received.size(); });
    // Late in the flood, an event posted as a click is: it must wait for a
    // slice or two, not for every reminder the flood has left behind.
    NoticeCounter notices;
    channel.installEventFilter(&notices);
    std::size_t slicesBeforeTheClick = 0;
    QObject click;
    QObject::connect(&channel, &SerialChannel::dataArrived, [&] {
        if (received.size() == kFlood - kFlood / 8) {
            const std::size_t postedAt = notices.count;
            QTimer::singleShot(0, &click,
                               [&, postedAt] { slicesBeforeTheClick = notices.count - postedAt; });
        }
    });
    const bool all = receive(kFlood);
    peer.join();
    ASSERT_TRUE(all);
    EXPECT_GT(raisedBeforeTheLoopTurned, 0u);
    EXPECT_LT(raisedBeforeTheLoopTurned, capacity / 2);
    EXPECT_LE(slicesBeforeTheClick, 2u);
    EXPECT_TRUE(received == flood);
}

TEST_F(SerialChannelTest, WriteFailsOnlyAfterASecondWithoutProgress) {
    ASSERT_TRUE(channel.open());
    // Far more than a pseudo-terminal holds, so the write must wait on the
    // reader; a limit per byte would take days to give up.
    const std::vector<std::uint8_t> big(1 << 20, 'x');

    // A reader that takes a slice every 200 ms: slow, but never a second idle.
    std::atomic<bool> stop = false;
    std::size_t got = 0;
    std::thread reader([&] {
        while (!stop && got < big.size()) {
            got += machine.read(16384, 50).size();
            std::this_thread::sleep_for(200ms);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const bool slowButMoving = channel.send(std::span(big).first(256 * 1024));
    const auto took = std::chrono::steady_clock::now() - start;
    stop = true;
    reader.join();
    EXPECT_TRUE(slowButMoving);
    EXPECT_GT(took, 1s); // it waited on its reader, and outlasted the stall limit as a whole

    // Nobody reads any more: the write gives up a second after the line fills.
    const auto stalledAt = std::chrono::steady_clock::now();
    EXPECT_FALSE(channel.send(big));
    EXPECT_LT(std::chrono::steady_clock::now() - stalledAt, 30s);
    EXPECT_FALSE(channel.isHungUp()); // a stalled peer is not a pulled cable
}

} // namespace
} // namespace vexilon
