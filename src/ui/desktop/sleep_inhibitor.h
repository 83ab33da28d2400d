#pragma once

#include <QDBusUnixFileDescriptor>
#include <QString>

namespace vexilon {

// Keeps the computer from suspending while a job runs: a laptop that sleeps
// mid-job cuts the machine's USB link and ruins the work piece. It asks
// logind on the system bus first, then the session's power manager, then the
// screen saver; where none of them answers it holds nothing, silently.
class SleepInhibitor {
public:
    enum class Holder { None, Logind, PowerManagement, ScreenSaver };

    ~SleepInhibitor() { release(); }

    // Does nothing while held.
    void hold(const QString& why);
    void release();

    Holder holder() const { return holder_; }

private:
    bool holdWithLogind(const QString& why);
    bool holdWithCookie(Holder holder, const QString& why);

    Holder holder_ = Holder::None;
    QDBusUnixFileDescriptor lock_; // logind's: closing it releases the lock
    quint32 cookie_ = 0;           // the session services'
};

} // namespace vexilon
