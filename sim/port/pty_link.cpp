#include "sim/port/pty_link.h"

#include <array>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace vexilon::sim {
namespace {

namespace fs = std::filesystem;

fs::path comLink(const fs::path& linkDirectory, int port) {
    return linkDirectory / ("COM" + std::to_string(port));
}

// A link left by a machine that died: it led to a pseudo-terminal that is
// gone. Links to anything else are the user's pins and stay.
bool staleLink(const fs::path& link) {
    std::error_code ec;
    if (!fs::is_symlink(link, ec)) {
        return false;
    }
    const fs::path target = fs::read_symlink(link, ec);
    return !ec && target.string().starts_with("/dev/pts/") && !fs::exists(target, ec);
}

bool taken(const fs::path& link) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(link, ec)) && !staleLink(link);
}

int unpinnedUsbDevices(const fs::path& linkDirectory, const fs::path& deviceDirectory) {
    std::set<fs::path> pinned;
    std::error_code ec;
    for (fs::directory_iterator it(linkDirectory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ignored;
        if (const fs::path device = fs::canonical(it->path(), ignored); !ignored) {
            pinned.insert(device);
        }
    }
    int count = 0;
    for (fs::directory_iterator it(deviceDirectory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with("ttyUSB") && !name.starts_with("ttyACM")) {
            continue;
        }
        std::error_code ignored;
        const fs::path device = fs::canonical(it->path(), ignored);
        if (ignored || !pinned.contains(device)) {
            ++count;
        }
    }
    return count;
}

} // namespace

int firstFreePort(const fs::path& linkDirectory, const fs::path& deviceDirectory) {
    int devicesLeft = unpinnedUsbDevices(linkDirectory, deviceDirectory);
    for (int port = 1;; ++port) {
        if (taken(comLink(linkDirectory, port))) {
            continue;
        }
        if (devicesLeft > 0) {
            --devicesLeft;
            continue;
        }
        return port;
    }
}

PtyLink::PtyLink(const fs::path& linkDirectory, int port) : linkDirectory_(linkDirectory) {
    openMaster();
    std::error_code ec;
    fs::create_directories(linkDirectory_, ec);
    // Another machine may take the same free number at the same moment; the
    // loser moves on to the next.
    bool linked = false;
    if (port > 0) {
        linked = claim(port);
    } else {
        for (int attempt = 0; !linked && attempt < 100; ++attempt) {
            linked = claim(firstFreePort(linkDirectory_));
        }
    }
    if (!linked) {
        ::close(master_);
        throw std::runtime_error(port > 0 ? "COM" + std::to_string(port) + " is taken"
                                          : "no free COM number");
    }
}

void PtyLink::openMaster() {
    termios raw{};
    cfmakeraw(&raw);
    cfsetspeed(&raw, B57600);
    raw.c_cflag |= CLOCAL | CREAD;
    int slave = -1;
    std::array<char, 128> name{};
    if (openpty(&master_, &slave, name.data(), &raw, nullptr) != 0) {
        throw std::runtime_error("cannot make a pseudo-terminal: " +
                                 std::error_code(errno, std::generic_category()).message());
    }
    ::close(slave);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = name.data();
}

bool PtyLink::plugIn() {
    if (master_ >= 0) {
        return true;
    }
    openMaster();
    if (!claim(port_)) {
        ::close(master_);
        master_ = -1;
        return false;
    }
    return true;
}

bool PtyLink::claim(int port) {
    const fs::path link = comLink(linkDirectory_, port);
    std::error_code ec;
    if (staleLink(link)) {
        fs::remove(link, ec);
    }
    fs::create_symlink(slavePath_, link, ec);
    if (ec) {
        return false;
    }
    port_ = port;
    linkPath_ = link;
    return true;
}

PtyLink::~PtyLink() {
    hangUp();
}

void PtyLink::hangUp() {
    if (master_ >= 0) {
        removeLink();
        ::close(master_);
        master_ = -1;
    }
}

// Only our own link goes: the user may have pinned the number meanwhile.
void PtyLink::removeLink() {
    std::error_code ec;
    if (fs::read_symlink(linkPath_, ec) == slavePath_ && !ec) {
        fs::remove(linkPath_, ec);
    }
}

} // namespace vexilon::sim
