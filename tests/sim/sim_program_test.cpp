#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Waits for `condition` for up to five seconds.
template <typename Condition> bool eventually(Condition condition) {
    for (auto end = std::chrono::steady_clock::now() + 5s;
         std::chrono::steady_clock::now() < end;) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

TEST(SimProgram, LinksItsPortWritesThePieceOnRequestAndCleansUpOnTerm) {
    std::string pattern = (fs::temp_directory_path() / "sim-program-XXXXXX").string();
    const fs::path scratch = ::mkdtemp(pattern.data());
    const fs::path ports = scratch / "ports";
    const fs::path piece = scratch / "piece.png";

    std::array<int, 2> out{};
    ASSERT_EQ(::pipe(out.data()), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execl(VEXILON_SIM_PROGRAM, "vexilon-sim", "--quiet", "--pace", "fast", "--ports",
                ports.c_str(), "--work-piece", piece.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::array<char, 64> line{};
    pollfd fd{out[0], POLLIN, 0};
    ASSERT_EQ(::poll(&fd, 1, 10000), 1);
    const ssize_t n = ::read(out[0], line.data(), line.size() - 1);
    ::close(out[0]);
    EXPECT_EQ(std::string(line.data(), n > 0 ? static_cast<std::size_t>(n) : 0), "COM1\n");

    const int port = ::open((ports / "COM1").c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(port, 0);
    termios raw{};
    ::tcgetattr(port, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(port, TCSANOW, &raw);
    const std::uint8_t verify = 246;
    ASSERT_EQ(::write(port, &verify, 1), 1);
    pollfd reply{port, POLLIN, 0};
    ASSERT_EQ(::poll(&reply, 1, 5000), 1);
    std::uint8_t answer = 0;
    EXPECT_EQ(::read(port, &answer, 1), 1);
    EXPECT_EQ(answer, 101);
    ::close(port);

    ::kill(child, SIGUSR1);
    EXPECT_TRUE(eventually([&] { return fs::exists(piece); }));
    fs::remove(piece);

    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports / "COM1")));
    EXPECT_TRUE(fs::exists(piece)); // written again on the way out
    fs::remove_all(scratch);
}

} // namespace
