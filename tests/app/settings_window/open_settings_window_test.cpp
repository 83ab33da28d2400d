#include "support/qt_environment.h"
#include "support/window_controls.h"

#include "app/settings/settings_store.h"
#include "app/settings/temporary_directory.h"
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
    // Shown as stored, unparsed; loading them sets no carved colour.
    const std::string stored = "[Setting]\nMotor=abc\nColor=65280\n";
    test::writeBytes(file, stored);
    SettingsStore settings(file);
    int messages = 0;
    int colours = 0;
    const SettingsServices services{{{},
                                     [&](const QString&, const QString&) { ++messages; },
                                     [](std::span<const std::uint8_t>) { return true; },
                                     {}},
                                    [&](std::int32_t) { ++colours; },
                                    &settings};

    QPointer<SettingsWindow> first;
    test::whenModalOpens<SettingsWindow>([&](SettingsWindow& window) {
        first = &window;
        EXPECT_EQ(window.parentWidget(), nullptr);
        EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(test_support::controlsOf(window).StepPauseBox->text(), QStringLiteral("abc"));
        EXPECT_EQ(test_support::controlsOf(window).CarvedColorPicker->colourValue(), 65280);
        test_support::controlsOf(window).StepPauseBox->selectAll();
        QTest::keyClicks(test_support::controlsOf(window).StepPauseBox, QStringLiteral("99"));
        EXPECT_EQ(test_support::controlsOf(window).StepPauseBox->text(), QStringLiteral("99"));
    });
    openSettingsWindow(services);
    // Closing destroyed it.
    EXPECT_TRUE(first.isNull());
    EXPECT_FALSE(anySettingsWindow());

    QString shownAgain;
    test::whenModalOpens<SettingsWindow>([&](SettingsWindow& window) {
        shownAgain = test_support::controlsOf(window).StepPauseBox->text();
    });
    openSettingsWindow(services);
    EXPECT_EQ(shownAgain, QStringLiteral("abc"));
    EXPECT_EQ(messages + colours, 0);
    EXPECT_EQ(test::readBytes(file), stored);
}

} // namespace
} // namespace vexilon
