#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

#include <atomic>
#include <mutex>
#include <vector>

namespace vexilon::test_support {

// What the fake desktop saw, shared between its thread and the test.
struct DesktopRecord {
    struct Notice {
        QString summary;
        QString body;
    };
    struct Progress {
        double value;
        bool visible;
    };
    std::mutex mutex;
    std::vector<Notice> notices;
    std::vector<Progress> launcher;
    int inhibits = 0;
    int uninhibits = 0;
    std::vector<int> logindLocks; // our ends of the descriptors handed out
};

// The desktop's services played on the test's private session bus, on a
// thread of their own so that the console's blocking calls get answers:
// logind's Inhibit (the system bus address is pointed at the same bus), a
// session power manager, a notification server, and a listener for the
// task-bar entry's signals. Each service can be left out.
class FakeDesktop : public QThread {
public:
    struct Services {
        bool logind = true;
        bool powerManagement = true;
        bool notifications = true;
    };

    explicit FakeDesktop(Services services);
    ~FakeDesktop() override;

    // Started and registered on the bus.
    void startAndWait();

    DesktopRecord record;

    // Whether logind's lock number `index` is still held by its taker.
    bool logindLockHeld(std::size_t index);

    // Snapshot helpers.
    std::vector<DesktopRecord::Notice> notices();
    std::vector<DesktopRecord::Progress> launcher();

    // Makes QDBusConnection::systemBus() in this process reach the private
    // session bus; call before anything touches the system bus.
    static void pointSystemBusAtSessionBus();

protected:
    void run() override;

private:
    Services services_;
    std::atomic<bool> ready_ = false;
};

// The D-Bus faces of the fake services (objects of the fake's thread).
class FakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    explicit FakeLogind(DesktopRecord& record) : record_(record) {}
public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode);

private:
    DesktopRecord& record_;
};

class FakePowerManagement : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.PowerManagement.Inhibit")
public:
    explicit FakePowerManagement(DesktopRecord& record) : record_(record) {}
public slots:
    uint Inhibit(const QString& application, const QString& reason);
    void UnInhibit(uint cookie);

private:
    DesktopRecord& record_;
};

class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotifications(DesktopRecord& record) : record_(record) {}
public slots:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout);

private:
    DesktopRecord& record_;
};

class LauncherListener : public QObject {
    Q_OBJECT
public:
    explicit LauncherListener(DesktopRecord& record) : record_(record) {}
public slots:
    void Update(const QString& app, const QVariantMap& properties);

private:
    DesktopRecord& record_;
};

} // namespace vexilon::test_support
