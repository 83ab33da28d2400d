#include "app/settings/settings_file.h"

#include "temporary_directory.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace vexilon {
namespace {

std::string lower(std::string text) {
    for (char& c : text) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    return text;
}

// Random writes, with names differing only in case, blanks and quotes in the
// values, against a plain model: every item reads back as last written, and
// the untouched hand-written lines survive.
TEST(SettingsRoundTrip, RandomWritesReadBackAsLastWritten) {
    test::TemporaryDirectory dir;
    const std::filesystem::path file = dir / "Config.ini";
    const std::string handWritten = "; mine \xE2\x82\xAC\r\n";
    test::writeBytes(file, handWritten);
    const std::vector<std::string> sections = {"Setting", "SETTING", "MainWindow", "x y"};
    const std::vector<std::string> keys = {"Color", "color", "Motor", "Burning_time", "a b"};
    const std::string alphabet = "ab \"'=;[]\t\xC3\xA9";
    std::mt19937 random(20240611);
    std::map<std::pair<std::string, std::string>, std::string> model;
    for (int step = 0; step < 300; ++step) {
        const std::string& section = sections[random() % sections.size()];
        const std::string& key = keys[random() % keys.size()];
        std::string value;
        for (std::size_t n = random() % 8; n > 0; --n) {
            value += alphabet[random() % alphabet.size()];
        }
        ASSERT_TRUE(writeSettingsItem(file, section, key, value));
        model[{lower(section), lower(key)}] = value;
        for (const auto& [name, expected] : model) {
            ASSERT_EQ(readSettingsItem(file, name.first, name.second, "\n"), expected)
                << "step " << step << " [" << name.first << "] " << name.second;
        }
    }
    EXPECT_EQ(test::readBytes(file).substr(0, handWritten.size()), handWritten);
    EXPECT_EQ(test::entryCount(dir.path()), 1u);
}

} // namespace
} // namespace vexilon
