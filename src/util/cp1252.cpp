#include "util/cp1252.h"

#include <array>
#include <cstdint>

namespace util {

namespace {

// Code points of the bytes 0x80 to 0x9F; the other bytes are their own code point.
constexpr std::array<char32_t, 32> high_controls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char byte_of(char32_t code_point) {
    if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
        return static_cast<char>(code_point);
    }
    for (std::size_t i = 0; i < high_controls.size(); ++i) {
        if (high_controls[i] == code_point) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

void append_utf8(std::string& out, char32_t code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i], advancing i; returns U+FFFD for a
// malformed one (which has no byte and so becomes '?').
char32_t next_code_point(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int continuation = 0;
    char32_t code_point = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1;
        code_point = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2;
        code_point = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3;
        code_point = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < continuation; ++k) {
        if (i >= text.size() || (static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        code_point = (code_point << 6) | (static_cast<std::uint8_t>(text[i++]) & 0x3F);
    }
    return code_point < minimum ? 0xFFFD : code_point;
}

}  // namespace

std::string to_cp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        out += byte_of(next_code_point(utf8, i));
    }
    return out;
}

std::string from_cp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        append_utf8(out, byte >= 0x80 && byte < 0xA0 ? high_controls[byte - 0x80] : byte);
    }
    return out;
}

std::string cp1252_from_utf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            // Surrogates stand for characters beyond the code page: one '?'
            // for a pair, one for a stray half.
            if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF) {
                ++i;
            }
            out += '?';
        } else {
            out += byte_of(unit);
        }
    }
    return out;
}

}  // namespace util
