// A part's text compressed as it is written, before its package is: in pieces that can be made
// at once on different cores and then joined, which the package copies as they are.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace redline {

// How hard the text parts a comparison wrote are compressed (zlib's levels, 1 to 9): they
// shrink twenty-fold even at a low level, which deflates several times faster than the default
// for a fifth more bytes.
inline constexpr int kTextLevel = 1;

struct Deflated {
    std::string bytes;       // a raw deflate stream, or the start of one
    std::uint64_t size = 0;  // of the text it holds
    std::uint32_t crc = 0;   // the text's CRC-32
};

// Compresses one piece of a text as it comes, so that the text itself is never held whole.
class DeflateStream {
  public:
    DeflateStream();
    ~DeflateStream();
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    void write(std::string_view text);
    // The `last` piece ends the stream; those before it end on a byte boundary with their
    // blocks left open, so that the next piece can follow them.
    Deflated finish(bool last);

  private:
    void deflateAll(int flush);

    struct State;
    std::unique_ptr<State> state_;
    Deflated piece_;
};

// The text of `first` followed by that of `second`.
Deflated Join(Deflated first, const Deflated& second);

}  // namespace redline
