#pragma once

#include "app/settings/settings_keys.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace vexilon {

// Where the console's settings live for the run: the settings file, or, when
// there is no place for one, a settings text kept in memory that behaves the
// same and is lost when the console ends.
class SettingsStore {
public:
    // An empty path keeps the settings in memory.
    explicit SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

    bool inMemory() const { return file_.empty(); }

    // As readSettingsItem and writeSettingsItem.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;
    bool write(std::string_view section, std::string_view key, std::string_view value);

    std::string read(const SettingKey& item) const {
        return read(item.section, item.key, item.defaultValue);
    }
    bool write(const SettingKey& item, std::string_view value) {
        return write(item.section, item.key, value);
    }

private:
    std::filesystem::path file_;
    std::string memory_;
};

} // namespace vexilon
