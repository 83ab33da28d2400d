#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

using test::TemporaryDirectory;
using test::writeBytes;

class SettingsRead : public ::testing::Test {
protected:
    std::string read(std::string_view section, std::string_view key) {
        return readSettingsItem(file, section, key, "dflt");
    }

    TemporaryDirectory dir;
    std::filesystem::path file = dir / "Config.ini";
};

TEST_F(SettingsRead, MatchesNamesWithoutCaseAndTakesFirstMatch) {
    writeBytes(file, "Color=1\n"
                     "[setting]\n"
                     "  COLOR  =  65280  \r\n"
                     "color=2\n"
                     "[Other]\n"
                     "Motor=9\n"
                     "[SETTING]\n"
                     "Color=3\n"
                     "Motor=4\n");
    EXPECT_EQ(read("Setting", "Color"), "65280");
    EXPECT_EQ(read(" \x01\tSetting", "\ncolor "), "65280");
    // Only the first section of a name is searched.
    EXPECT_EQ(read("Setting", "Motor"), "dflt");
    EXPECT_EQ(read("Other", "motor"), "9");
}

TEST_F(SettingsRead, QuotesCommentsAndEmptyValues) {
    writeBytes(file, "[S]\n"
                     ";Gone=commented\n"
                     "  ;Also=commented\n"
                     "Double=\" padded \"\n"
                     "Single='x'\n"
                     "Mixed=\"x'\n"
                     "Lone=\"\n"
                     "Empty=\n"
                     "Blank=   \n"
                     "NoEquals\n"
                     "Inner=a \"b\" c\n");
    EXPECT_EQ(read("S", "Gone"), "dflt");
    EXPECT_EQ(read("S", "Also"), "dflt");
    EXPECT_EQ(read("S", "Double"), " padded ");
    EXPECT_EQ(read("S", "Single"), "x");
    EXPECT_EQ(read("S", "Mixed"), "\"x'");
    EXPECT_EQ(read("S", "Lone"), "\"");
    EXPECT_EQ(read("S", "Empty"), "");
    EXPECT_EQ(read("S", "Blank"), "");
    EXPECT_EQ(read("S", "NoEquals"), "dflt");
    EXPECT_EQ(read("S", "Inner"), "a \"b\" c");
}

TEST_F(SettingsRead, MissingFileSectionKeyGiveDefaultButEmptyNamesGiveEmpty) {
    EXPECT_EQ(read("S", "K"), "dflt");
    EXPECT_EQ(readSettingsItem(dir / "no" / "Config.ini", "S", "K", "d"), "d");
    EXPECT_EQ(readSettingsItem(dir.path(), "S", "K", "d"), "d");
    writeBytes(file, "[S]\nK=v\n");
    EXPECT_EQ(read("T", "K"), "dflt");
    EXPECT_EQ(read("S", "L"), "dflt");
    EXPECT_EQ(read(" \t", "K"), "");
    EXPECT_EQ(read("S", ""), "");
    EXPECT_EQ(readSettingsItem(" \x1f", "S", "K", "d"), "");
    EXPECT_EQ(readSettingsItem("  " + file.string(), "S", "K", "d"), "v");
}

TEST_F(SettingsRead, CutsLongValuesWithoutSplittingCharacters) {
    const std::string ascii(settingsValueLimit + 50, 'a');
    // "é" is two bytes; the limit falls on its second byte.
    const std::string twoByte = std::string(settingsValueLimit - 1, 'b') + "\xC3\xA9tail";
    writeBytes(file, "[S]\nA=" + ascii + "\nB=" + twoByte + "\nC=\"" + ascii + "\"\n");
    EXPECT_EQ(read("S", "A"), ascii.substr(0, settingsValueLimit));
    EXPECT_EQ(read("S", "B"), twoByte.substr(0, settingsValueLimit - 1));
    EXPECT_EQ(read("S", "C"), ascii.substr(0, settingsValueLimit));
}

} // namespace
} // namespace vexilon
