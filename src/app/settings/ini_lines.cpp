#include "app/settings/ini_lines.h"

#include <algorithm>
#include <string_view>

namespace vexilon {

IniLines::IniLines(std::string_view content)
    : content_(content), nextCr_(content.find('\r')), nextLf_(content.find('\n')) {}

std::size_t IniLines::next(char c, std::size_t& found) const {
    if (found != std::string_view::npos && found < offset_) {
        found = content_.find(c, offset_);
    }
    return found;
}

std::optional<IniLine> IniLines::next() {
    if (offset_ >= content_.size()) {
        return std::nullopt;
    }
    const std::size_t stop = std::min(next('\r', nextCr_), next('\n', nextLf_));
    IniLine line{content_.substr(offset_), {}, offset_};
    if (stop != std::string_view::npos) {
        const bool crlf =
            content_[stop] == '\r' && stop + 1 < content_.size() && content_[stop + 1] == '\n';
        line.text = content_.substr(offset_, stop - offset_);
        line.end = content_.substr(stop, crlf ? 2 : 1);
    }
    offset_ += line.text.size() + line.end.size();
    return line;
}

std::string_view iniLineEnd(std::string_view content) {
    IniLines lines(content);
    while (const auto line = lines.next()) {
        if (!line->end.empty()) {
            return line->end;
        }
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
        const std::size_t close = body.find(']');
        if (close == std::string_view::npos) {
            return {IniLineKind::Other, {}, {}};
        }
        return {IniLineKind::Section, trimIni(body.substr(1, close - 1)), {}};
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

namespace {

// The first header of that name, or none.
std::optional<IniLine> findSection(IniLines& lines, std::string_view section) {
    while (const auto line = lines.next()) {
        const IniLineParts parts = parseIniLine(line->text);
        if (parts.kind == IniLineKind::Section && sameIniName(parts.name, section)) {
            return line;
        }
    }
    return std::nullopt;
}

} // namespace

IniItemPlace findIniItem(std::string_view content, std::string_view section, std::string_view key) {
    IniLines lines(content);
    IniItemPlace place;
    place.header = findSection(lines, section);
    if (!place.header) {
        return place;
    }
    place.lastFilled = *place.header;
    while (const auto line = lines.next()) {
        const IniLineParts parts = parseIniLine(line->text);
        if (parts.kind == IniLineKind::Section) {
            break;
        }
        if (parts.kind == IniLineKind::Item && sameIniName(parts.name, key)) {
            place.item = line;
            break;
        }
        if (parts.kind != IniLineKind::Blank && parts.kind != IniLineKind::Comment) {
            place.lastFilled = *line;
        }
    }
    return place;
}

} // namespace vexilon
