#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace server {

// The distinct addresses of the clients that have completed a request, in
// the order of their first request, and their count.
class ClientTable {
  public:
    static constexpr int capacity = 51;

    // Records an address not seen before in the next empty slot. When all
    // slots are taken, a new address is not recorded: the table keeps what it
    // has and the count stays at its maximum. The empty address (a client
    // that left before its address was known) is never recorded.
    void record(const std::string& address);
    // Empties the table.
    void clear();

    std::int16_t NUM_CLIENTS() const { return count_; }
    // The address in slot index, or the empty text.
    const std::string& CLIENT_IP_TABLE(int index) const;

  private:
    std::array<std::string, capacity> table_;
    std::int16_t count_ = 0;
};

}  // namespace server
