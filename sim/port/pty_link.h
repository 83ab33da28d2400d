#pragma once

#include <filesystem>

namespace vexilon::sim {

// The lowest COM number that neither a link in `linkDirectory` nor a USB
// serial device of `deviceDirectory` holds (devices that no link pins take
// the lowest numbers without a link, as the console counts them).
int firstFreePort(const std::filesystem::path& linkDirectory,
                  const std::filesystem::path& deviceDirectory = "/dev");

// A pseudo-terminal in raw mode whose slave is linked as "COM<n>". Only the
// master stays open here, so the console's exclusive open of the slave works.
class PtyLink {
public:
    // `port` 0 takes the first free number. Throws std::runtime_error when the
    // pseudo-terminal cannot be made or the number is taken.
    PtyLink(const std::filesystem::path& linkDirectory, int port);
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    int master() const { return master_; }
    int port() const { return port_; }
    const std::filesystem::path& linkPath() const { return linkPath_; }

    // Removes the link and closes the master: the console sees a hang-up and
    // the port is gone, as when a USB cable is pulled.
    void hangUp();
    // A new pseudo-terminal linked at the same number, as when the cable is
    // put back. False when the number was taken meanwhile.
    bool plugIn();

private:
    void openMaster();
    bool claim(int port); // makes the link; false when the number is taken
    void removeLink();

    int master_ = -1;
    int port_ = 0;
    std::filesystem::path linkDirectory_;
    std::filesystem::path slavePath_;
    std::filesystem::path linkPath_;
};

} // namespace vexilon::sim
