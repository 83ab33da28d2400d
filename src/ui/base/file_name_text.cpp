#include "ui/base/file_name_text.h"

#include <cstdint>

namespace vexilon {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence starting at `at`, with its code
// point; 0 when the byte there starts none.
int utf8Sequence(const QByteArray& bytes, qsizetype at, char32_t& codePoint) {
    const auto byte = [&](qsizetype i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(at);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > bytes.size()) {
        return 0;
    }
    char32_t value = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    codePoint = value;
    return length;
}

void appendUtf8(QByteArray& out, char32_t value) {
    if (value < 0x80) {
        out.append(static_cast<char>(value));
        return;
    }
    const int length = value < 0x800 ? 2 : value < 0x10000 ? 3 : 4;
    constexpr std::uint8_t kLeads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out.append(static_cast<char>(kLeads[length] | (value >> (6 * (length - 1)))));
    for (int i = length - 2; i >= 0; --i) {
        out.append(static_cast<char>(0x80 | ((value >> (6 * i)) & 0x3F)));
    }
}

} // namespace

QString fileNameText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t codePoint = 0;
        const int length = utf8Sequence(bytes, at, codePoint);
        if (length == 0) {
            text.append(
                QChar(static_cast<char16_t>(kEscapeBase + static_cast<std::uint8_t>(bytes[at]))));
            ++at;
            continue;
        }
        text.append(QString::fromUcs4(&codePoint, 1));
        at += length;
    }
    return text;
}

QByteArray fileNameBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            bytes.append(static_cast<char>(unit - kEscapeBase));
        } else {
            appendUtf8(bytes, unit);
        }
    }
    return bytes;
}

} // namespace vexilon
