#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace vexilon {
namespace {

class SettingsWrite : public ::testing::Test {
protected:
    // Writes one item into a file holding `before` and gives the file after.
    std::string edit(const std::string& before, std::string_view section, std::string_view key,
                     std::string_view value) {
        test::writeBytes(file, before);
        EXPECT_TRUE(writeSettingsItem(file, section, key, value));
        return test::readBytes(file);
    }
    test::TemporaryDirectory dir;
    std::filesystem::path file = dir / "Config.ini";
};

TEST_F(SettingsWrite, PlacesItemsWhereAUserWouldAndKeepsOtherBytes) {
    EXPECT_TRUE(writeSettingsItem(file, "Setting", "Color", "255"));
    EXPECT_TRUE(writeSettingsItem(file, "Setting", "Motor", "35"));
    EXPECT_TRUE(writeSettingsItem(file, "MainWindow", "Burning_time", "60"));
    EXPECT_EQ(test::readBytes(file),
              "[Setting]\nColor=255\nMotor=35\n[MainWindow]\nBurning_time=60\n");
    // In place, keeping the user's spelling and spacing; other lines untouched.
    const std::string rest = "; caf\xC3\xA9 \xFF\xFE\r\n\n[a]\r\nx = 1 ; note\n";
    EXPECT_EQ(edit(rest + "[MainWindow]\r\n  burning_TIME =  500\r\nz=\n", "mainwindow",
                   "Burning_time", "75"),
              rest + "[MainWindow]\r\n  burning_TIME =  75\r\nz=\n");
    EXPECT_EQ(edit("[S]\nK=1\nK=old", "S", "k", "new"), "[S]\nK=new\nK=old");
    // A new key follows the last item; blank lines and comments leading into
    // the next section stay with it.
    EXPECT_EQ(edit("[S]\nA=1\n; mid\nB=2\n\n; about T\n[T]\nC=3\n", "s", "New", "v"),
              "[S]\nA=1\n; mid\nB=2\nNew=v\n\n; about T\n[T]\nC=3\n");
    EXPECT_EQ(edit("[S]\n\n[T]\n", "S", "K", "v"), "[S]\nK=v\n\n[T]\n");
    EXPECT_EQ(edit("[S]\r\nA=1", "S", "K", "v"), "[S]\r\nA=1\r\nK=v\r\n");
    // A new section goes at the end, with the line end of the file's first line.
    EXPECT_EQ(edit("[S]\r\nA=1\r\n", "T", "K", "v"), "[S]\r\nA=1\r\n[T]\r\nK=v\r\n");
    EXPECT_EQ(edit("[S]\nA=1\r\n", "T", "K", "v"), "[S]\nA=1\r\n[T]\nK=v\n");
    EXPECT_EQ(edit("; no end", " \tT ", " K ", ""), "; no end\n[T]\nK=\n");
}

// Old Mac editors end lines with a lone CR: those are lines too, and new
// lines get the file's own end. A '[' line without its ']' is no header, so a
// well-formed section of that name after it is the one read and written.
TEST_F(SettingsWrite, LoneCarriageReturnsEndLinesAndBrokenHeadersHideNothing) {
    const std::string crOnly = "[A]\rK=1\r[S]\rX=2\r";
    EXPECT_EQ(edit(crOnly, "S", "K", "v"), "[A]\rK=1\r[S]\rX=2\rK=v\r");
    EXPECT_EQ(readSettingsItem(file, "A", "K", "d"), "1");
    EXPECT_EQ(edit(crOnly, "A", "K", "9"), "[A]\rK=9\r[S]\rX=2\r");
    EXPECT_EQ(edit("[A]\rK=1", "T", "K", "v"), "[A]\rK=1\r[T]\rK=v\r");

    const std::string broken = "[S\nK=bad\n[S]\nK=good\n";
    test::writeBytes(file, broken);
    EXPECT_EQ(readSettingsItem(file, "S", "K", "d"), "good");
    EXPECT_EQ(edit(broken, "S", "K", "new"), "[S\nK=bad\n[S]\nK=new\n");
}

TEST_F(SettingsWrite, RefusesWhatCannotBeStoredWithoutTouchingTheFile) {
    test::writeBytes(file, "[S]\nK=v\n");
    const std::tuple<std::string, std::string, std::string> items[] = {
        {"", "K", "x"},      {"S", " ", "x"},      {"S]", "K", "x"},
        {"S\n[T", "K", "x"}, {"S", "K=1", "x"},    {"S", "[K", "x"},
        {"S", ";K", "x"},    {"S", "K\r\nX", "x"}, {"S", "K", "a\nJ=b"}};
    for (const auto& [section, key, value] : items) {
        EXPECT_FALSE(writeSettingsItem(file, section, key, value)) << section << "/" << key;
    }
    EXPECT_FALSE(writeSettingsItem("\t", "S", "K", "x"));
    EXPECT_EQ(test::readBytes(file), "[S]\nK=v\n");
}

// Random writes under names spelt in varying case, with blanks, quotes, '=',
// ';' and brackets in values, after values that trimming or unquoting would
// spoil: every item reads back as last written.
TEST_F(SettingsWrite, RandomWritesReadBackAsLastWritten) {
    const std::string mine = "; mine \xE2\x82\xAC\r\n";
    test::writeBytes(file, mine);
    const char* names[3][2] = {
        {"Setting", "sETTING"}, {"MainWindow", "mainwindow"}, {"x y", "X Y"}};
    const std::string alphabet = "ab \"'=;[]\t\xC3\xA9";
    std::mt19937 random(20240611);
    std::map<std::pair<int, int>, std::string> model;
    const std::string fixed[] = {" lead", "trail\t", "\"q\"", "'q'", "\"", "''", "a=b;c"};
    for (int step = 0; step < 300; ++step) {
        const int section = static_cast<int>(random() % 3), key = static_cast<int>(random() % 3);
        std::string value = step < 7 ? fixed[step] : "";
        for (std::size_t n = step < 7 ? 0 : random() % 8; n > 0; --n) {
            value += alphabet[random() % alphabet.size()];
        }
        ASSERT_TRUE(
            writeSettingsItem(file, names[section][step % 2], names[key][step / 2 % 2], value));
        model[{section, key}] = value;
        for (const auto& [item, expected] : model) {
            ASSERT_EQ(readSettingsItem(file, names[item.first][step % 2 ^ 1], names[item.second][0],
                                       "\n"),
                      expected)
                << step;
        }
    }
    EXPECT_EQ(test::readBytes(file).substr(0, mine.size()), mine);
    EXPECT_EQ(test::entryCount(dir.path()), 1);
}

} // namespace
} // namespace vexilon
