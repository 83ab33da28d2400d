#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "console_end.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(SimProgram, LinksItsPortWritesThePieceOnRequestAndCleansUpOnTerm) {
    vexilon::sim::test::ScratchDirectory scratch;
    const fs::path ports = scratch.path() / "ports";
    const fs::path piece = scratch.path() / "piece.png";

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
    {
        const vexilon::sim::test::ConsoleEnd console(ports / "COM1");
        ASSERT_TRUE(console.open());
        console.send({246});
        EXPECT_EQ(console.read(1), std::vector<std::uint8_t>{101});
    }

    ::kill(child, SIGUSR1);
    for (auto end = std::chrono::steady_clock::now() + 5s;
         !fs::exists(piece) && std::chrono::steady_clock::now() < end;) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(fs::exists(piece));
    fs::remove(piece);

    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports / "COM1")));
    EXPECT_TRUE(fs::exists(piece)); // written again on the way out
}

} // namespace
