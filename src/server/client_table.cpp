#include "server/client_table.h"

namespace server {

void ClientTable::record(const std::string& address) {
    // An empty slot marks the end of the table: an empty address would be
    // counted without filling it, again and again.
    if (address.empty()) {
        return;
    }
    if (count_ == 0) {
        table_[0] = address;
        count_ = 1;
        return;
    }
    // The first empty slot or the address itself ends the search.
    for (int i = 0; i <= count_ && i < capacity; ++i) {
        auto& slot = table_[static_cast<std::size_t>(i)];
        if (slot.empty()) {
            slot = address;
            ++count_;
            return;
        }
        if (slot == address) {
            return;
        }
    }
}

void ClientTable::clear() {
    table_.fill({});
    count_ = 0;
}

const std::string& ClientTable::CLIENT_IP_TABLE(int index) const {
    static const std::string none;
    return index >= 0 && index < capacity ? table_[static_cast<std::size_t>(index)] : none;
}

}  // namespace server
