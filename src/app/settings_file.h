#pragma once

#include <string>
#include <string_view>

#include "app/settings.h"

namespace app {

// Orvanta.ini: where it lies and how its text is laid out. The file is
// Windows-1252 on disk; these functions work on the program's UTF-8 text and
// leave the conversion to the code that moves the bytes.
//
// The layout is 49 lines, each ended by CR LF: a header of comment lines, then
// each value on a line of its own after a comment naming it, then the date of
// the last change. A comment is a line whose first character is an apostrophe.

inline constexpr std::string_view kSettingsFileName = "Orvanta.ini";

// The file in the settings folder.
std::string settings_path(const std::string& settings_folder);

// The whole text of the file for these values; date goes on the last line.
std::string format_settings(const Settings& settings, std::string_view date);

// Reads the nine values in file order. Lines end at CR or CR LF (a lone LF is
// part of a line). Before each value, any number of comment lines is skipped;
// the first other line, an empty one included, is the value. Each value is
// stored in settings as soon as it converts, so when the text ends too early
// or a value does not convert, the values before it are kept and the ones
// from it on stay as they were; the result is then false. Nothing after the
// ninth value is looked at.
bool parse_settings(std::string_view text, Settings& settings);

}  // namespace app
