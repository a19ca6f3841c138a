#include "redline/read/KeyTable.h"

namespace redline {

std::uint32_t KeyTable::key(std::string_view text) {
    std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
    if (shared_) lock.lock();
    // Most words are met again: look them up without making a string of them first.
    if (const auto found = keys_.find(text); found != keys_.end()) return found->second;
    return keys_.emplace(std::string(text), static_cast<std::uint32_t>(keys_.size() + 1))
        .first->second;
}

}  // namespace redline
