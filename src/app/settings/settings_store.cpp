#include "app/settings/settings_store.h"

#include "app/settings/settings_file.h"

namespace vexilon {

std::string SettingsStore::read(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return inMemory() ? readSettingsText(memory_, section, key, defaultValue)
                      : readSettingsItem(file_, section, key, defaultValue);
}

bool SettingsStore::write(std::string_view section, std::string_view key, std::string_view value) {
    return inMemory() ? writeSettingsText(memory_, section, key, value)
                      : writeSettingsItem(file_, section, key, value);
}

} // namespace vexilon
