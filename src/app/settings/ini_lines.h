#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace vexilon {

// One line of a settings text as it stands: its text and its own line end
// ("\r\n", "\n", a lone "\r", or nothing on a last line without one), both
// views into the text, and where the line starts in it.
struct IniLine {
    std::string_view text;
    std::string_view end;
    std::size_t offset = 0;
    std::size_t endOffset() const { return offset + text.size() + end.size(); }
};

// Walks a settings text line by line without copying it: a settings file may
// be large, and an item is looked up in one pass.
class IniLines {
public:
    explicit IniLines(std::string_view content);
    std::optional<IniLine> next();

private:
    std::size_t next(char c, std::size_t& found) const;

    std::string_view content_;
    std::size_t offset_ = 0;
    // Where the next CR and LF stand, each looked for again only once passed:
    // a file with one kind of line end would otherwise be searched to its end
    // for the other kind at every line.
    std::size_t nextCr_;
    std::size_t nextLf_;
};

// The line end new lines get: that of the text's first ended line, "\n" when
// it has none.
std::string_view iniLineEnd(std::string_view content);

enum class IniLineKind { Blank, Comment, Section, Item, Other };

// A line's role. A section header is '[' name ']' (the name trimmed, what
// follows the ']' ignored); a '[' line without its ']' is no header and so
// cannot hide a later one of the same name. For an item, name is the text
// before the first '=' and value the text after it, both trimmed. A line
// that is none of these is Other: kept, but never matched.
struct IniLineParts {
    IniLineKind kind = IniLineKind::Blank;
    std::string_view name;
    std::string_view value;
};

IniLineParts parseIniLine(std::string_view text);

bool isIniBlank(char c);
std::string_view trimIni(std::string_view text);

// Section and key names match without regard to ASCII case.
bool sameIniName(std::string_view a, std::string_view b);

// Where an item stands: the header of the first section of that name, the
// first line of that key in it, and (when the key is not there) the
// section's last line that is neither blank nor a comment, after which a
// new key goes. Empty when the section is missing.
struct IniItemPlace {
    std::optional<IniLine> header;
    std::optional<IniLine> item;
    IniLine lastFilled;
};

IniItemPlace findIniItem(std::string_view content, std::string_view section, std::string_view key);

} // namespace vexilon
