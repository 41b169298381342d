// The version record reader on real files, read by our own PE parser and
// checked against pefile: every field and the result, for the .NET
// assemblies of Mono's i18n packages (unpacked by scripts/install-deps) and
// for two files of our own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/pe/pe_test_support.h"
#include "platform/pe/pe_version_info.h"
#include "support/temp_folder.h"
#include "util/version_record.h"

namespace {

const std::filesystem::path samples = "/var/cache/orvanta/pe-samples";

// What the version record reader should read from each PE file named, with
// pefile parsing the version resource. For each file nine words, each in
// UTF-8 and ended by a NUL: 1 or 0 for the reader's result, then the eight
// fields in the reader's order. The fields are those of a reader
// that had read nothing before, looking values up as the reader does through
// the ANSI form of Windows' version functions.
constexpr const char* oracle = R"py(
import sys

import pefile

FIELDS = ("CompanyName", "FileDescription", "FileVersion", "InternalName",
          "LegalCopyright", "OriginalFileName", "ProductName", "ProductVersion")
NONE = (False, [""] * len(FIELDS))


def with_id(entries, wanted):
    return next((e for e in entries if e.name is None and e.id == wanted), None)


def named(items, name):
    """The value of the first (key, value) whose key is `name` in any case."""
    return next((v for k, v in items if k.lower() == name.lower()), None)


def ansi(text):
    """One Windows-1252 byte a character, '?' for a character without one; the
    program keeps the five bytes that Windows-1252 leaves undefined."""
    return "".join(c if c in "\x81\x8d\x8f\x90\x9d" or c.encode("cp1252", "ignore") else "?"
                   for c in text)


def read(path):
    try:
        pe = pefile.PE(path)
    except pefile.PEFormatError:
        return NONE
    # The resource Windows reads: id 1 of the version type; language-neutral,
    # else US English, else the first language.
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    versions = with_id(root.entries, 16) if root else None
    names = with_id(versions.directory.entries, 1) if versions else None
    languages = names.directory.entries if names else []
    entry = with_id(languages, 0) or with_id(languages, 0x0409) or next(iter(languages), None)
    parsed = len(getattr(pe, "FileInfo", []))
    if entry is None or not hasattr(entry, "data"):
        return NONE
    pe.parse_version_information(entry.data.struct)
    if len(pe.FileInfo) == parsed:
        return NONE
    blocks = {}
    for block in pe.FileInfo[-1]:
        blocks.setdefault(block.Key.lower(), block)

    var_info = blocks.get(b"varfileinfo")
    var = next((v for v in var_info.Var if named(v.entry.items(), b"Translation")),
               None) if var_info else None
    if var is None:
        return NONE
    # pefile keeps the last language and code page pair; the reader takes the first.
    if var.ValueLength != 4:
        sys.exit(f"{path}: more than one translation, which pefile cannot tell")
    pair = named(var.entry.items(), b"Translation").split()
    translation = b"%04x%04x" % tuple(int(word, 16) for word in pair)
    string_info = blocks.get(b"stringfileinfo")
    table = next((t.entries for t in string_info.StringTable if t.LangID.lower() == translation),
                 {}) if string_info else {}
    fields = []
    for field in FIELDS:
        value = ansi((named(table.items(), field.encode()) or b"").decode("utf-8"))
        # Refused: no room for its NUL in the reader's 128-byte buffer.
        fields.append(value if len(value) < 128 else "")
    return fields[-1].strip(" ") != "", fields


for path in sys.argv[1:]:
    ok, fields = read(path)
    sys.stdout.buffer.write(b"".join(w.encode("utf-8") + b"\0" for w in ["01"[ok], *fields]))
)py";

// Files that other readers read although Windows, as a loader, would not:
// a file one byte short inside its last section, and a section whose
// VirtualSize leaves out the resources that its raw data holds.
std::vector<std::string> fixtures(const pe_test::TempFolder& folder) {
    pe_builder::PeFile navctrl;
    navctrl.resources = {pe_builder::version_resource(pe_builder::navctrl_record())};
    pe_test::Bytes cut = pe_builder::build_pe(navctrl).bytes;
    cut.pop_back();
    navctrl.virtual_size = 0x10;
    return {folder.write("cut.dll", cut),
            folder.write("short_section.dll", pe_builder::build_pe(navctrl).bytes)};
}

TEST(VersionRecordFileTest, EveryFieldReadsAsPefileReadsIt) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(samples, error)) {
        files.push_back(entry.path().string());
    }
    ASSERT_GE(files.size(), 6u) << "the sample files are missing from " << samples
                                << ": run scripts/install-deps";
    const pe_test::TempFolder folder;
    for (const std::string& file : fixtures(folder)) {
        files.push_back(file);
    }

    const std::string script =
        folder.write("pefile_oracle.py", {oracle, oracle + std::strlen(oracle)});
    const std::string answers = (folder.path() / "answers").string();
    std::string command = "/usr/bin/python3 '" + script + "'";
    for (const std::string& file : files) {
        command += " '" + file + "'";
    }
    ASSERT_EQ(std::system((command + " > '" + answers + "'").c_str()), 0) << "pefile failed";
    std::istringstream words(test_support::read_file(answers));

    const std::string util::VersionRecord::*const fields[] = {
        &util::VersionRecord::CompanyName,    &util::VersionRecord::FileDescription,
        &util::VersionRecord::FileVersion,    &util::VersionRecord::InternalName,
        &util::VersionRecord::LegalCopyright, &util::VersionRecord::OriginalFileName,
        &util::VersionRecord::ProductName,    &util::VersionRecord::ProductVersion};
    std::size_t records = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::string word;
        ASSERT_TRUE(std::getline(words, word, '\0'));
        const bool expected = word == "1";

        platform::pe::PeVersionInfo info;
        util::VersionRecordReader reader{info};
        EXPECT_EQ(reader.ReadVersionRecord(file), expected);
        records += expected ? 1 : 0;
        for (const auto field : fields) {
            ASSERT_TRUE(std::getline(words, word, '\0'));
            EXPECT_EQ(reader.record().*field, word);
        }
    }
    EXPECT_GE(records, 6u);
}

}  // namespace
