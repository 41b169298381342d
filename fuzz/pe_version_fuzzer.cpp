// Feeds arbitrary bytes to the reader of version records in PE files, both as
// a whole file and as a record on its own, so that the block parser is reached
// without the fuzzer first having to build a valid PE file around it. Besides
// crashes and sanitizer reports, it checks what callers rely on: text comes
// back as one NUL-terminated string, and a file's record lies inside the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/pe/byte_view.h"
#include "platform/pe/resource_directory.h"
#include "platform/pe/version_query.h"

namespace {

using platform::pe::ByteView;
using platform::pe::query_version_value;

void check_text(const std::vector<std::uint8_t>& record, const std::string& path) {
    const auto value = query_version_value(ByteView(record), path);
    if (value && (value->empty() || value->back() != 0 ||
                  std::count(value->begin(), value->end(), 0) != 1)) {
        std::abort();
    }
}

// Each query runs on a copy of exactly the record's size, so that the
// sanitizers see any read past its end.
void query_record(const std::vector<std::uint8_t>& record) {
    query_version_value(ByteView(record), "\\");
    const auto translation = query_version_value(ByteView(record), "\\VarFileInfo\\Translation");
    std::string key = "040904B0";
    if (translation && translation->size() >= 4) {
        char text[9];
        std::snprintf(text, sizeof text, "%02X%02X%02X%02X", (*translation)[1], (*translation)[0],
                      (*translation)[3], (*translation)[2]);
        key = text;
    }
    check_text(record, "\\StringFileInfo\\" + key + "\\ProductVersion");
    check_text(record, "\\stringfileinfo\\" + key + "\\companyname");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView file({data, size});
    if (const auto record = platform::pe::find_version_record(file)) {
        const auto bytes = record->bytes();
        if (bytes.empty() || bytes.data() < data || bytes.data() + bytes.size() > data + size) {
            std::abort();
        }
        query_record(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    query_record(std::vector<std::uint8_t>(data, data + size));
    return 0;
}
