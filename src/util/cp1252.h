#pragma once

#include <string>
#include <string_view>

namespace util {

// Text inside the program is UTF-8; files and the network carry one byte per
// character in the Windows-1252 code page. These conversions are lossless for
// all 256 bytes (the five bytes that the code page leaves undefined stand for
// U+0081, U+008D, U+008F, U+0090 and U+009D); a character without a byte, or
// a malformed sequence, becomes '?'.
std::string to_cp1252(std::string_view utf8);
std::string from_cp1252(std::string_view bytes);
// For text stored as UTF-16 (little-endian code units already combined).
std::string cp1252_from_utf16(std::u16string_view text);

}  // namespace util
