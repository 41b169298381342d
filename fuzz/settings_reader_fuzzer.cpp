// Feeds arbitrary bytes to the settings reader as the content of Orvanta.ini.
// Besides crashes and sanitizer reports, it checks what the program relies on:
// a read that fails keeps the values before the fault and leaves the rest
// alone, and values that were read are written and read back unchanged.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "app/settings_reader.h"
#include "app/settings_writer.h"
#include "platform/failure.h"

namespace {

class MemoryFileSystem : public platform::FileSystem {
  public:
    std::map<std::string, std::string> files;

    bool is_regular_file(const std::string& path) override { return files.count(path) != 0; }
    bool exists(const std::string& path) override { return files.count(path) != 0; }
    void make_folders(const std::string&, unsigned) override {}
    std::string read_file(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end()) {
            throw platform::Failure("no such file");
        }
        return found->second;
    }
    bool is_writable(const std::string&) override { return true; }
    std::unique_ptr<platform::OutputFile> create_temporary(const std::string& folder) override {
        return std::make_unique<File>(*this, folder + "/.temporary");
    }
    void replace(const std::string& from, const std::string& to) override {
        files[to] = files.at(from);
        files.erase(from);
    }
    void remove(const std::string& path) noexcept override { files.erase(path); }

  private:
    class File : public platform::OutputFile {
      public:
        File(MemoryFileSystem& owner, std::string path) : owner_(owner), path_(std::move(path)) {
            owner_.files[path_].clear();
        }
        const std::string& path() const override { return path_; }
        void write(std::string_view bytes) override { owner_.files[path_] += bytes; }
        void commit() override {}

      private:
        MemoryFileSystem& owner_;
        std::string path_;
    };
};

class Folder : public platform::ProgramLocation {
  public:
    std::string system_folder() const override { return "/orvanta"; }
    std::string settings_folder() const override { return "/orvanta"; }
    std::string state_folder() const override { return "/orvanta"; }
};

class Clock : public platform::Clock {
  public:
    platform::TimeOfDay time_of_day() const override { return {}; }
    std::chrono::milliseconds steady_now() const override { return {}; }
    std::int64_t unix_time() const override { return 0; }
    std::string short_date() const override { return "12/6/26"; }
};

std::array<int, 9> fields(const app::Settings& s) {
    return {s.LISTEN_PORT,         s.TRANSMIT_PORT,      s.WINDOW_LEFT,
            s.WINDOW_TOP,          s.SAVE_WINDOW_POS,    s.KEEP_CONNECTED,
            s.STARTUP_IN_MINIMODE, s.STARTUP_IN_SYSTRAY, s.DPC_HW_POLL_INTERVAL};
}

// Read from two starting points that differ in every field: up to the first
// field where the results differ both read the same values, and from there on
// each must still hold its starting value.
void check_prefix_read(const app::Settings& first_start, const app::Settings& first,
                       const app::Settings& second_start, const app::Settings& second) {
    const auto a = fields(first), b = fields(second);
    const auto a_start = fields(first_start), b_start = fields(second_start);
    std::size_t unread = 0;
    while (unread < a.size() && a[unread] == b[unread]) {
        ++unread;
    }
    for (std::size_t i = unread; i < a.size(); ++i) {
        if (a[i] != a_start[i] || b[i] != b_start[i]) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using app::Settings;
    using app::SettingsReadOutcome;

    MemoryFileSystem files;
    files.files["/orvanta/Orvanta.ini"].assign(reinterpret_cast<const char*>(data), size);
    const Folder folder;
    const app::SettingsReader reader(files, folder);

    const Settings zero_start{};
    const Settings other_start{-1, -1, -1, -1, true, true, true, true, -1};
    Settings zero = zero_start;
    Settings other = other_start;
    const SettingsReadOutcome outcome = reader.read(zero);
    if (reader.read(other) != outcome || outcome == SettingsReadOutcome::Missing) {
        std::abort();
    }
    check_prefix_read(zero_start, zero, other_start, other);
    if (outcome == SettingsReadOutcome::ReadFailure) {
        return 0;
    }
    if (zero != other) {
        std::abort();
    }

    const Clock clock;
    if (!app::SettingsWriter(files, folder, clock).write(zero)) {
        std::abort();
    }
    Settings again = other_start;
    if (reader.read(again) != SettingsReadOutcome::Loaded || again != zero ||
        files.files.size() != 1) {
        std::abort();
    }
    return 0;
}
