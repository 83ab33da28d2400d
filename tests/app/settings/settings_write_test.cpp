#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

using test::readBytes;
using test::TemporaryDirectory;
using test::writeBytes;

class SettingsWrite : public ::testing::Test {
protected:
    // Writes one item into a file holding `before` and gives the file after.
    std::string edit(const std::string& before, std::string_view section, std::string_view key,
                     std::string_view value) {
        writeBytes(file, before);
        EXPECT_TRUE(writeSettingsItem(file, section, key, value));
        return readBytes(file);
    }

    TemporaryDirectory dir;
    std::filesystem::path file = dir / "Config.ini";
};

TEST_F(SettingsWrite, CreatesFileAndSectionsInOrderOfFirstWrite) {
    EXPECT_TRUE(writeSettingsItem(file, "Setting", "Color", "255"));
    EXPECT_TRUE(writeSettingsItem(file, "Setting", "Motor", "35"));
    EXPECT_TRUE(writeSettingsItem(file, "MainWindow", "Burning_time", "60"));
    EXPECT_EQ(readBytes(file), "[Setting]\nColor=255\nMotor=35\n[MainWindow]\nBurning_time=60\n");
}

TEST_F(SettingsWrite, ReplacesInPlaceKeepingEverythingElse) {
    const std::string rest = "; caf\xC3\xA9 \xFF\xFE\r\n\n[a]\r\nx = 1 ; note\n";
    EXPECT_EQ(edit(rest + "[MainWindow]\r\n  burning_TIME =  500\r\nz=\n", "mainwindow",
                   "Burning_time", "75"),
              rest + "[MainWindow]\r\n  burning_TIME =  75\r\nz=\n");
    EXPECT_EQ(edit("[S]\nK=old", "S", "K", "new"), "[S]\nK=new");
    EXPECT_EQ(edit("[S]\nK=1\nK=2\n", "S", "k", "3"), "[S]\nK=3\nK=2\n");
}

// A new key follows the section's last item: blank lines and comments that
// lead into the next section stay there.
TEST_F(SettingsWrite, NewKeyGoesAfterLastItemOfItsSection) {
    EXPECT_EQ(edit("[S]\nA=1\n; mid\nB=2\n\n; about T\n[T]\nC=3\n", "s", "New", "v"),
              "[S]\nA=1\n; mid\nB=2\nNew=v\n\n; about T\n[T]\nC=3\n");
    EXPECT_EQ(edit("[S]\n\n[T]\n", "S", "K", "v"), "[S]\nK=v\n\n[T]\n");
    EXPECT_EQ(edit("[S]\r\nA=1", "S", "K", "v"), "[S]\r\nA=1\r\nK=v\r\n");
    EXPECT_EQ(edit("[S]", "S", "K", "v"), "[S]\nK=v\n");
}

TEST_F(SettingsWrite, NewSectionGoesAtEndWithFilesLineEnds) {
    EXPECT_EQ(edit("[S]\r\nA=1\r\n", "T", "K", "v"), "[S]\r\nA=1\r\n[T]\r\nK=v\r\n");
    EXPECT_EQ(edit("[S]\nA=1\r\n", "T", "K", "v"), "[S]\nA=1\r\n[T]\nK=v\n");
    EXPECT_EQ(edit("; no end", "T", "K", "v"), "; no end\n[T]\nK=v\n");
    EXPECT_EQ(edit("", " \tT ", " K ", ""), "[T]\nK=\n");
}

TEST_F(SettingsWrite, ValuesReadBackAsWritten) {
    for (const std::string value : {" lead", "trail\t", "\"q\"", "'q'", "\"", "''", "a=b;c"}) {
        EXPECT_TRUE(writeSettingsItem(file, "S", "K", value));
        EXPECT_EQ(readSettingsItem(file, "S", "K", "dflt"), value);
    }
}

TEST_F(SettingsWrite, RefusesWhatCannotBeStoredWithoutTouchingTheFile) {
    const std::string before = "[S]\nK=v\n";
    writeBytes(file, before);
    const std::pair<std::string, std::string> names[] = {
        {"", "K"},    {"S", " "},  {"S]", "K"}, {"S\n[T", "K"},
        {"S", "K=1"}, {"S", "[K"}, {"S", ";K"}, {"S", "K\r\nX"},
    };
    for (const auto& [section, key] : names) {
        EXPECT_FALSE(writeSettingsItem(file, section, key, "x")) << section << "/" << key;
    }
    EXPECT_FALSE(writeSettingsItem(file, "S", "K", "a\nJ=b"));
    EXPECT_FALSE(writeSettingsItem(" ", "S", "K", "x"));
    EXPECT_EQ(readBytes(file), before);
}

} // namespace
} // namespace vexilon
