#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fault.h"
#include "platform/version_info.h"

namespace fakes {

// Version records held in memory: one record for whatever file is asked for,
// its values looked up by exact sub-block path. Every operation can fail.
class FakeVersionInfo : public platform::VersionInfo {
  public:
    std::uint32_t size = 16;
    bool record_readable = true;
    std::map<std::string, std::vector<std::uint8_t>> values;
    // The file of each record read, in order.
    std::vector<std::string> files_read;

    Fault size_fault;
    Fault read_fault;
    Fault query_fault;

    // Sets a string value of the given table as the platform gives it: the
    // text's bytes and a NUL.
    void set_string(const std::string& table, const std::string& key, const std::string& text) {
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        bytes.push_back(0);
        values["\\StringFileInfo\\" + table + "\\" + key] = bytes;
    }
    void set_translations(std::vector<std::uint8_t> bytes) {
        values["\\VarFileInfo\\Translation"] = std::move(bytes);
    }

    std::uint32_t record_size(const std::string& file_name) override {
        files_read.push_back(file_name);
        size_fault.check("record_size");
        return size;
    }
    bool read_record(const std::string&, std::vector<std::uint8_t>& buffer) override {
        read_fault.check("read_record");
        if (buffer.size() < size) {
            buffer.resize(size);
        }
        return record_readable;
    }
    std::optional<std::vector<std::uint8_t>> query_value(const std::vector<std::uint8_t>&,
                                                         const std::string& sub_block) override {
        query_fault.check("query_value " + sub_block);
        const auto it = values.find(sub_block);
        if (it == values.end()) {
            return std::nullopt;
        }
        return it->second;
    }
};

}  // namespace fakes
