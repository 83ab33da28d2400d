#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

class SettingsRead : public ::testing::Test {
protected:
    std::string read(std::string_view section, std::string_view key) {
        return readSettingsItem(file, section, key, "dflt");
    }
    test::TemporaryDirectory dir;
    std::filesystem::path file = dir / "Config.ini";
};

TEST_F(SettingsRead, LookupRules) {
    test::writeBytes(file, "Color=1\n[setting]\n  COLOR  =  65280  \r\ncolor=2\n[Other]\nMotor=9\n"
                           "[SETTING]\nColor=3\nMotor=4\n"
                           "[S]\n;Gone=x\n  ;Also=x\nDouble=\" padded \"\nSingle='x'\nMixed=\"x'\n"
                           "Lone=\"\nEmpty=\nBlank=   \nNoEquals\nInner=a \"b\" c");
    EXPECT_EQ(read("Setting", "Color"), "65280");
    EXPECT_EQ(read(" \x01\tSetting", "\ncolor "), "65280");
    EXPECT_EQ(read("Setting", "Motor"), "dflt"); // only the first [Setting] counts
    EXPECT_EQ(read("Other", "motor"), "9");
    const std::pair<const char*, const char*> items[] = {
        {"Gone", "dflt"},     {"Also", "dflt"},      {"Double", " padded "}, {"Single", "x"},
        {"Mixed", "\"x'"},    {"Lone", "\""},        {"Empty", ""},          {"Blank", ""},
        {"NoEquals", "dflt"}, {"Inner", "a \"b\" c"}};
    for (const auto& [key, value] : items) {
        EXPECT_EQ(read("S", key), value) << key;
    }
}

TEST_F(SettingsRead, MissingPartsGiveDefaultButEmptyNamesGiveEmpty) {
    EXPECT_EQ(read("S", "K"), "dflt");
    EXPECT_EQ(readSettingsItem(dir / "no" / "Config.ini", "S", "K", "d"), "d");
    EXPECT_EQ(readSettingsItem(dir.path(), "S", "K", "d"), "d");
    test::writeBytes(file, "[S]\nK=v\n");
    EXPECT_EQ(read("T", "K"), "dflt");
    EXPECT_EQ(read("S", "L"), "dflt");
    EXPECT_EQ(read(" \t", "K"), "");
    EXPECT_EQ(read("S", ""), "");
    EXPECT_EQ(readSettingsItem(" \x1f", "S", "K", "d"), "");
    EXPECT_EQ(readSettingsItem("  " + file.string(), "S", "K", "d"), "v");
}

TEST_F(SettingsRead, CutsLongValuesWithoutSplittingCharacters) {
    const std::string ascii(settingsValueLimit + 50, 'a');
    // The limit falls on the second byte of the two-byte "é".
    const std::string twoByte = std::string(settingsValueLimit - 1, 'b') + "\xC3\xA9tail";
    test::writeBytes(file, "[S]\nA=\"" + ascii + "\"\nB=" + twoByte);
    EXPECT_EQ(read("S", "A"), ascii.substr(0, settingsValueLimit));
    EXPECT_EQ(read("S", "B"), twoByte.substr(0, settingsValueLimit - 1));
}

} // namespace
} // namespace vexilon
