#include "app/settings/settings_file.h"

#include "app/settings/ini_lines.h"
#include "app/settings/whole_file.h"

#include <vector>

namespace vexilon {
namespace {

std::string_view skipLeadingControls(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) {
        text.remove_prefix(1);
    }
    return text;
}

std::string skipLeadingControls(const std::filesystem::path& file) {
    const std::string text = file.string();
    return std::string(skipLeadingControls(std::string_view(text)));
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Cuts to the limit, moving the cut back to the start of a UTF-8 character
// that the limit would split.
std::string_view cutValue(std::string_view value) {
    if (value.size() <= settingsValueLimit) {
        return value;
    }
    const auto isContinuation = [&](std::size_t i) {
        return (static_cast<unsigned char>(value[i]) & 0xC0) == 0x80;
    };
    std::size_t start = settingsValueLimit;
    while (start > 0 && settingsValueLimit - start < 3 && isContinuation(start)) {
        --start;
    }
    const bool splitsCharacter =
        start < settingsValueLimit && static_cast<unsigned char>(value[start]) >= 0xC0;
    return value.substr(0, splitsCharacter ? start : settingsValueLimit);
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool storableSection(std::string_view section) {
    return !section.empty() && !hasLineBreak(section) &&
           section.find(']') == std::string_view::npos;
}

// A key starting with '[' or ';' would read back as a section or a comment.
bool storableKey(std::string_view key) {
    return !key.empty() && !hasLineBreak(key) && key.find('=') == std::string_view::npos &&
           key.front() != '[' && key.front() != ';';
}

std::string encodeValue(std::string_view value) {
    const bool changedByRead =
        !value.empty() && (isIniBlank(value.front()) || isIniBlank(value.back()) ||
                           unquote(value).size() != value.size());
    return changedByRead ? "\"" + std::string(value) + "\"" : std::string(value);
}

// The item line's text with the value replaced, keeping how the user wrote
// the key and the spacing up to the value.
std::string replaceItemValue(std::string_view text, std::string_view encoded) {
    std::size_t valueStart = text.find('=') + 1;
    while (valueStart < text.size() && (text[valueStart] == ' ' || text[valueStart] == '\t')) {
        ++valueStart;
    }
    return std::string(text.substr(0, valueStart)) + std::string(encoded);
}

// Where a new key of the section at `header` goes: after the section's last
// line that is neither blank nor a comment, so that blank lines and comments
// leading into the next section stay with that section.
std::size_t newItemPosition(const std::vector<IniLine>& lines, std::size_t header) {
    std::size_t last = header;
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        const IniLineKind kind = parseIniLine(lines[i].text).kind;
        if (kind == IniLineKind::Section) {
            break;
        }
        if (kind != IniLineKind::Blank && kind != IniLineKind::Comment) {
            last = i;
        }
    }
    return last + 1;
}

std::string withItem(std::string_view content, std::string_view section, std::string_view key,
                     std::string_view value) {
    const std::string end(iniLineEnd(content));
    const std::string encoded = encodeValue(value);
    std::vector<IniLine> lines = splitIniLines(content);
    const std::size_t header = findIniSection(lines, section);
    if (header == lines.size()) {
        std::string result(content);
        if (!result.empty() && result.back() != '\n') {
            result += end;
        }
        return result + "[" + std::string(section) + "]" + end + std::string(key) + "=" + encoded +
               end;
    }
    const std::size_t item = findIniItem(lines, header, key);
    if (item != lines.size()) {
        lines[item].text = replaceItemValue(lines[item].text, encoded);
        return joinIniLines(lines);
    }
    const std::size_t position = newItemPosition(lines, header);
    if (lines[position - 1].end.empty()) {
        lines[position - 1].end = end;
    }
    const auto at = lines.begin() + static_cast<std::ptrdiff_t>(position);
    lines.insert(at, IniLine{std::string(key) + "=" + encoded, end});
    return joinIniLines(lines);
}

// A byte-order mark some editors put before the first line: it belongs to
// no line, so reads skip it and writes put it back where it was.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

std::string_view withoutMark(std::string_view content) {
    if (content.starts_with(byteOrderMark)) {
        content.remove_prefix(byteOrderMark.size());
    }
    return content;
}

struct ItemNames {
    std::string_view section;
    std::string_view key;
};

ItemNames trimmedNames(std::string_view section, std::string_view key) {
    return {trimIni(skipLeadingControls(section)), trimIni(skipLeadingControls(key))};
}

std::string findValue(std::string_view content, ItemNames names, std::string_view defaultValue) {
    const std::vector<IniLine> lines = splitIniLines(withoutMark(content));
    const std::size_t header = findIniSection(lines, names.section);
    if (header == lines.size()) {
        return std::string(defaultValue);
    }
    const std::size_t item = findIniItem(lines, header, names.key);
    if (item == lines.size()) {
        return std::string(defaultValue);
    }
    return std::string(cutValue(unquote(parseIniLine(lines[item].text).value)));
}

bool storable(ItemNames names, std::string_view value) {
    return storableSection(names.section) && storableKey(names.key) && !hasLineBreak(value);
}

std::string contentWithItem(std::string_view content, ItemNames names, std::string_view value) {
    const std::string_view body = withoutMark(content);
    const std::string_view mark = content.substr(0, content.size() - body.size());
    return std::string(mark) + withItem(body, names.section, names.key, value);
}

} // namespace

std::string readSettingsItem(const std::filesystem::path& file, std::string_view section,
                             std::string_view key, std::string_view defaultValue) {
    const std::string path = skipLeadingControls(file);
    const ItemNames names = trimmedNames(section, key);
    if (path.empty() || names.section.empty() || names.key.empty()) {
        return {};
    }
    const WholeFile content = readWholeFile(path);
    if (content.status != WholeFileStatus::Read) {
        return std::string(defaultValue);
    }
    return findValue(content.bytes, names, defaultValue);
}

bool writeSettingsItem(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view value) {
    const std::string path = skipLeadingControls(file);
    const ItemNames names = trimmedNames(section, key);
    if (path.empty() || !storable(names, value)) {
        return false;
    }
    const WholeFile content = readWholeFile(path);
    if (content.status == WholeFileStatus::Failed) {
        return false;
    }
    return replaceWholeFile(path, contentWithItem(content.bytes, names, value));
}

std::string readSettingsText(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view defaultValue) {
    const ItemNames names = trimmedNames(section, key);
    if (names.section.empty() || names.key.empty()) {
        return {};
    }
    return findValue(content, names, defaultValue);
}

bool writeSettingsText(std::string& content, std::string_view section, std::string_view key,
                       std::string_view value) {
    const ItemNames names = trimmedNames(section, key);
    if (!storable(names, value)) {
        return false;
    }
    content = contentWithItem(content, names, value);
    return true;
}

} // namespace vexilon
