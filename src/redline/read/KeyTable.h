// The comparison's table of keys: texts interned as small numbers, shared by both documents, so
// that equal texts compare equal, and what it takes as alike beyond equal text.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace redline {

// What the comparison takes as alike beyond equal text.
struct Likeness {
    bool caseless = false;  // letters of either case
    bool blanks = false;    // any run of spaces, tabs and no-break spaces
    bool anyField = false;  // every field, whatever its code and what it shows
    bool any() const { return caseless || blanks; }
};

// Interns texts as small numbers, shared by both documents, so that equal texts compare equal.
class KeyTable {
  public:
    explicit KeyTable(Likeness like = {}) : like_(like) {}
    std::uint32_t key(std::string_view text);
    const Likeness& like() const { return like_; }

    // While one lives, the table may be asked from several threads at once; it is made and let
    // go where only one thread asks.
    class Shared {
      public:
        explicit Shared(KeyTable& table) : table_(table) { ++table_.shared_; }
        ~Shared() { --table_.shared_; }
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;

      private:
        KeyTable& table_;
    };

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> keys_;
    Likeness like_;
    int shared_ = 0;  // how many Shared live: they may nest
    std::mutex mutex_;
};

}  // namespace redline
