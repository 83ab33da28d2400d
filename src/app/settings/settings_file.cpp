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

// Where the value of an item line starts: after the '=' and the blanks
// behind it, so that how the user wrote the key and its spacing stay.
std::size_t valueStart(std::string_view text) {
    std::size_t start = text.find('=') + 1;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) {
        ++start;
    }
    return start;
}

bool endsLine(std::string_view content) {
    return !content.empty() && (content.back() == '\n' || content.back() == '\r');
}

// `content` with `inserted` put in at `at`, or put in place of the bytes up to
// `resumeAt`; reserved at once, so that a large file is held twice at most.
std::string spliced(std::string_view content, std::size_t at, std::string_view inserted,
                    std::size_t resumeAt) {
    std::string result;
    result.reserve(at + inserted.size() + (content.size() - resumeAt));
    result.append(content.substr(0, at)).append(inserted).append(content.substr(resumeAt));
    return result;
}

// `whole` is the file's text; `content` the same without a leading byte-order
// mark, whose lines are searched.
std::string withItem(std::string_view whole, std::string_view content, std::string_view section,
                     std::string_view key, std::string_view value) {
    const std::size_t mark = whole.size() - content.size();
    const std::string_view end = iniLineEnd(content);
    const std::string item = std::string(key) + "=" + encodeValue(value);
    const IniItemPlace place = findIniItem(content, section, key);
    if (!place.header) {
        const std::string added = std::string(endsLine(content) || content.empty() ? "" : end) +
                                  "[" + std::string(section) + "]" + std::string(end) + item +
                                  std::string(end);
        return spliced(whole, whole.size(), added, whole.size());
    }
    if (place.item) {
        const IniLine& line = *place.item;
        const std::size_t at = mark + line.offset + valueStart(line.text);
        return spliced(whole, at, encodeValue(value), mark + line.offset + line.text.size());
    }
    const IniLine& after = place.lastFilled;
    const std::string added = std::string(after.end.empty() ? end : "") + item + std::string(end);
    return spliced(whole, mark + after.endOffset(), added, mark + after.endOffset());
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
    const IniItemPlace place = findIniItem(withoutMark(content), names.section, names.key);
    if (!place.item) {
        return std::string(defaultValue);
    }
    return std::string(cutValue(unquote(parseIniLine(place.item->text).value)));
}

bool storable(ItemNames names, std::string_view value) {
    return storableSection(names.section) && storableKey(names.key) && !hasLineBreak(value);
}

std::string contentWithItem(std::string_view content, ItemNames names, std::string_view value) {
    return withItem(content, withoutMark(content), names.section, names.key, value);
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
