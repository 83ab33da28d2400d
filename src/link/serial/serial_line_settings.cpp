#include "link/serial/serial_line_settings.h"

#include <cerrno>

#include <sys/ioctl.h>

namespace vexilon {

void applyConsoleLineSettings(termios& settings) {
    cfmakeraw(&settings);
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | PARMRK);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    // One byte is enough for a read to return; with O_NONBLOCK an empty port
    // then answers EAGAIN, so a read of 0 can only mean a hang-up.
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, B57600);
    cfsetospeed(&settings, B57600);
}

int configureConsoleLine(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return errno;
    }
    applyConsoleLineSettings(settings);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        return errno;
    }
    // tcsetattr succeeds when any of the changes took; read back what matters.
    termios taken{};
    if (tcgetattr(fd, &taken) != 0) {
        return errno;
    }
    constexpr tcflag_t frame = CSIZE | PARENB | CSTOPB | CRTSCTS;
    if (cfgetispeed(&taken) != B57600 || cfgetospeed(&taken) != B57600 ||
        (taken.c_cflag & frame) != (settings.c_cflag & frame)) {
        return EINVAL;
    }
    return 0;
}

void raiseRts(int fd) {
    int rts = TIOCM_RTS;
    (void)ioctl(fd, TIOCMBIS, &rts);
}

} // namespace vexilon
