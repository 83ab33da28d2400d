#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace vexilon {
namespace {

// Random writes under names spelt in varying case, with blanks, quotes, '=',
// ';' and brackets in values: every item reads back as last written.
TEST(SettingsRoundTrip, RandomWritesReadBackAsLastWritten) {
    test::TemporaryDirectory dir;
    const std::filesystem::path file = dir / "Config.ini";
    const std::string mine = "; mine \xE2\x82\xAC\r\n";
    test::writeBytes(file, mine);
    const char* names[3][2] = {
        {"Setting", "sETTING"}, {"MainWindow", "mainwindow"}, {"x y", "X Y"}};
    const std::string alphabet = "ab \"'=;[]\t\xC3\xA9";
    std::mt19937 random(20240611);
    std::map<std::pair<int, int>, std::string> model;
    for (int step = 0; step < 300; ++step) {
        const int section = static_cast<int>(random() % 3), key = static_cast<int>(random() % 3);
        std::string value;
        for (std::size_t n = random() % 8; n > 0; --n) {
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
