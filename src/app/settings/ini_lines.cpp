#include "app/settings/ini_lines.h"

#include <algorithm>

namespace vexilon {

std::vector<IniLine> splitIniLines(std::string_view content) {
    std::vector<IniLine> lines;
    while (!content.empty()) {
        const std::size_t newline = content.find('\n');
        if (newline == std::string_view::npos) {
            lines.push_back({std::string(content), {}});
            break;
        }
        const bool crlf = newline > 0 && content[newline - 1] == '\r';
        const std::size_t textLength = crlf ? newline - 1 : newline;
        lines.push_back({std::string(content.substr(0, textLength)),
                         std::string(content.substr(textLength, newline + 1 - textLength))});
        content.remove_prefix(newline + 1);
    }
    return lines;
}

std::string joinIniLines(const std::vector<IniLine>& lines) {
    std::string content;
    for (const IniLine& line : lines) {
        content += line.text;
        content += line.end;
    }
    return content;
}

std::string_view iniLineEnd(std::string_view content) {
    const std::size_t newline = content.find('\n');
    if (newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r') {
        return "\r\n";
    }
    return "\n";
}

bool isIniBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimIni(std::string_view text) {
    while (!text.empty() && isIniBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isIniBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

IniLineParts parseIniLine(std::string_view text) {
    const std::string_view body = trimIni(text);
    if (body.empty()) {
        return {IniLineKind::Blank, {}, {}};
    }
    if (body.front() == ';') {
        return {IniLineKind::Comment, {}, {}};
    }
    if (body.front() == '[') {
        const std::string_view inside = body.substr(1);
        return {IniLineKind::Section, trimIni(inside.substr(0, inside.find(']'))), {}};
    }
    const std::size_t equals = body.find('=');
    if (equals == std::string_view::npos) {
        return {IniLineKind::Other, {}, {}};
    }
    return {IniLineKind::Item, trimIni(body.substr(0, equals)), trimIni(body.substr(equals + 1))};
}

bool sameIniName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

std::size_t findIniSection(const std::vector<IniLine>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const IniLineParts parts = parseIniLine(lines[i].text);
        if (parts.kind == IniLineKind::Section && sameIniName(parts.name, section)) {
            return i;
        }
    }
    return lines.size();
}

std::size_t findIniItem(const std::vector<IniLine>& lines, std::size_t header,
                        std::string_view key) {
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        const IniLineParts parts = parseIniLine(lines[i].text);
        if (parts.kind == IniLineKind::Section) {
            break;
        }
        if (parts.kind == IniLineKind::Item && sameIniName(parts.name, key)) {
            return i;
        }
    }
    return lines.size();
}

} // namespace vexilon
