#include "support/qt_environment.h"

#include "app/settings/settings_file.h"
#include "app/settings/settings_store.h"
#include "app/settings_window/open_settings_window.h"
#include "settings_window_support.h"

#include <QPointer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

namespace vexilon {
namespace {

namespace fs = std::filesystem;

bool anySettingsWindow() {
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<const SettingsWindow*>(w) != nullptr) {
            return true;
        }
    }
    return false;
}

TEST(OpenSettingsWindow, EachOpeningIsANewModalWindowShowingTheStoredValues) {
    QTemporaryDir scratch;
    const fs::path file = fs::path(scratch.path().toStdString()) / "Config.ini";
    ASSERT_TRUE(writeSettingsItem(file, "Setting", "Motor", "300"));
    SettingsStore settings(file);
    int messages = 0;
    const SettingsServices services{[](std::uint8_t) {},
                                    [&](const QString&, const QString&) { ++messages; },
                                    [](std::int32_t) {}, &settings};

    QPointer<SettingsWindow> first;
    test::whenModalOpens<SettingsWindow>([&](SettingsWindow& window) {
        first = &window;
        EXPECT_EQ(window.parentWidget(), nullptr);
        EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(window.ui.StepPauseBox->text(), QStringLiteral("300"));
        window.ui.StepPauseBox->selectAll();
        QTest::keyClicks(window.ui.StepPauseBox, QStringLiteral("99"));
        EXPECT_EQ(window.ui.StepPauseBox->text(), QStringLiteral("99"));
    });
    openSettingsWindow(services);
    // Closing destroyed it.
    EXPECT_TRUE(first.isNull());
    EXPECT_FALSE(anySettingsWindow());

    QString shownAgain;
    test::whenModalOpens<SettingsWindow>(
        [&](SettingsWindow& window) { shownAgain = window.ui.StepPauseBox->text(); });
    openSettingsWindow(services);
    EXPECT_EQ(shownAgain, QStringLiteral("300"));
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(readSettingsItem(file, "Setting", "Motor", ""), "300");
}

} // namespace
} // namespace vexilon
