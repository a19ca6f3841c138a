// A part's text compressed as it is written, before its package is: in pieces that can be made
// at once on different cores and then joined, which the package copies as they are.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

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

// A text compressed on a second core while the first still writes it: for a part that is not
// written in halves. Small texts are compressed in place, without a thread.
class DeflatePipe {
  public:
    DeflatePipe() = default;
    ~DeflatePipe();
    DeflatePipe(const DeflatePipe&) = delete;
    DeflatePipe& operator=(const DeflatePipe&) = delete;

    void write(std::string_view text);
    // The whole text, its stream ended. Raises what compressing it raised.
    Deflated finish();

  private:
    void hand();
    void compressHanded();
    void stop();

    static constexpr std::size_t kChunk = 1 << 18;
    static constexpr std::size_t kChunksAhead = 4;
    DeflateStream stream_;
    std::string chunk_;
    std::deque<std::string> handed_;
    std::mutex mutex_;
    std::condition_variable ready_, room_;
    bool done_ = false, alone_ = false;  // alone_: no thread was to be had
    std::exception_ptr failed_;
    std::thread worker_;  // started with the first full chunk
};

// The text of `first` followed by that of `second`.
Deflated Join(Deflated first, const Deflated& second);

}  // namespace redline
