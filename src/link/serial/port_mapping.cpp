#include "link/serial/port_mapping.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace vexilon {
namespace {

// "<prefix><n>" with n a plain decimal number (no sign, no leading zero).
std::optional<int> numberAfter(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) {
        return std::nullopt;
    }
    std::string_view digits = name.substr(prefix.size());
    if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) {
        return std::nullopt;
    }
    int value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// Numbers of the entries named prefix<n> in `directory`, sorted, with their names.
std::vector<std::pair<int, std::string>> numberedEntries(const std::filesystem::path& directory,
                                                         std::string_view prefix) {
    std::vector<std::pair<int, std::string>> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (auto n = numberAfter(name, prefix)) {
            found.emplace_back(*n, std::move(name));
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Identity of the file behind a path (links followed): the device number
// for device nodes, so that two nodes of one device compare equal, else the
// inode.
std::optional<std::pair<dev_t, ino_t>> fileIdentity(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    if (S_ISCHR(info.st_mode)) {
        return std::pair{info.st_rdev, ino_t{0}};
    }
    return std::pair{info.st_dev, info.st_ino};
}

// The USB serial devices in the order they take the free numbers, less those
// that a link pins: a pinned device answers at its pinned number only.
auto unpinnedDevices(const std::filesystem::path& deviceDirectory,
                     const std::filesystem::path& linkDirectory,
                     const decltype(numberedEntries(linkDirectory, "COM"))& links) {
    auto devices = numberedEntries(deviceDirectory, "ttyUSB");
    const auto acm = numberedEntries(deviceDirectory, "ttyACM");
    devices.insert(devices.end(), acm.begin(), acm.end());
    std::vector<std::pair<dev_t, ino_t>> pinned;
    for (const auto& link : links) {
        if (auto identity = fileIdentity(linkDirectory / link.second)) {
            pinned.push_back(*identity);
        }
    }
    if (!pinned.empty()) {
        std::erase_if(devices, [&](const auto& device) {
            const auto identity = fileIdentity(deviceDirectory / device.second);
            return identity && std::find(pinned.begin(), pinned.end(), *identity) != pinned.end();
        });
    }
    return devices;
}

} // namespace

std::filesystem::path portDevicePath(int portNumber, const std::filesystem::path& linkDirectory,
                                     const std::filesystem::path& deviceDirectory) {
    if (portNumber < 1) {
        return {};
    }
    const auto links = numberedEntries(linkDirectory, "COM");
    const auto linked = std::find_if(links.begin(), links.end(),
                                     [&](const auto& link) { return link.first == portNumber; });
    if (linked != links.end()) {
        return linkDirectory / linked->second;
    }

    // Counting the links below the number (rather than walking 1..n) keeps a
    // huge port number cheap.
    const auto linksBelow = std::count_if(links.begin(), links.end(), [&](const auto& link) {
        return link.first >= 1 && link.first < portNumber;
    });
    const auto freeIndex = static_cast<std::size_t>(portNumber - 1 - linksBelow);
    const auto devices = unpinnedDevices(deviceDirectory, linkDirectory, links);
    if (freeIndex >= devices.size()) {
        return {};
    }
    return deviceDirectory / devices[freeIndex].second;
}

} // namespace vexilon
