#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/version_info.h"

namespace util {

// The eight text fields of a file's version record, each exactly as the
// record stores it (cut at its first NUL, not trimmed).
struct VersionRecord {
    std::string CompanyName;
    std::string FileDescription;
    std::string FileVersion;
    std::string InternalName;
    std::string LegalCopyright;
    std::string OriginalFileName;
    std::string ProductName;
    std::string ProductVersion;
};

// Reads version records into a VersionRecord that it keeps between reads.
// Each window that shows or checks a version holds its own reader.
class VersionRecordReader {
  public:
    explicit VersionRecordReader(platform::VersionInfo& info);

    const VersionRecord& record() const { return record_; }
    // Eight upper-case hex digits: language and code page of the string
    // table in use, from the record's first translation.
    const std::string& TranslationKey() const { return translation_key_; }

    // Reads the file's record into the fields. True when the record was read
    // and its ProductVersion is not blank. A file without a readable record
    // leaves the fields as they were; a field whose value cannot be read
    // keeps its former content. Never fails.
    bool ReadVersionRecord(const std::string& file_name);
    // Reads the record and ignores the outcome; callers look at record().
    void LoadVersionRecord(const std::string& file_name);

  private:
    // The value of one key of the string table in use, or the empty text when
    // the table lacks it. Throws platform::Failure for a value that does not
    // fit the 128-character buffer it is copied through.
    std::string GetVersionString(const std::string& key);

    platform::VersionInfo& info_;
    VersionRecord record_;
    std::vector<std::uint8_t> raw_;
    std::string translation_key_;
};

}  // namespace util
