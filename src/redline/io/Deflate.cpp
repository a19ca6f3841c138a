#include "redline/io/Deflate.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <system_error>

namespace redline {

struct DeflateStream::State {
    z_stream stream{};
};

DeflateStream::DeflateStream() : state_(std::make_unique<State>()) {
    // A raw stream (negative window bits): the zip entry frames it, not zlib.
    if (deflateInit2(&state_->stream, kTextLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::bad_alloc();
    }
    piece_.crc = static_cast<std::uint32_t>(crc32_z(0, nullptr, 0));
}

DeflateStream::~DeflateStream() {
    deflateEnd(&state_->stream);
}

void DeflateStream::deflateAll(int flush) {
    z_stream& stream = state_->stream;
    char buffer[1 << 16];
    int status = Z_OK;
    do {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = deflate(&stream, flush);
        if (status == Z_STREAM_ERROR) throw std::runtime_error("a part could not be compressed.");
        piece_.bytes.append(buffer, sizeof buffer - stream.avail_out);
    } while (stream.avail_out == 0);
}

void DeflateStream::write(std::string_view text) {
    piece_.crc = static_cast<std::uint32_t>(
        crc32_z(piece_.crc, reinterpret_cast<const Bytef*>(text.data()), text.size()));
    piece_.size += text.size();
    z_stream& stream = state_->stream;
    // zlib counts in 32 bits: a larger text goes in by slices.
    while (!text.empty()) {
        const auto slice = static_cast<uInt>(std::min<std::size_t>(text.size(), 1u << 30));
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        stream.avail_in = slice;
        deflateAll(Z_NO_FLUSH);
        text.remove_prefix(slice);
    }
}

Deflated DeflateStream::finish(bool last) {
    state_->stream.avail_in = 0;
    deflateAll(last ? Z_FINISH : Z_SYNC_FLUSH);
    return std::move(piece_);
}

DeflatePipe::~DeflatePipe() {
    stop();
}

void DeflatePipe::write(std::string_view text) {
    chunk_.append(text);
    if (chunk_.size() >= kChunk) hand();
}

void DeflatePipe::hand() {
    if (!worker_.joinable() && !alone_) {
        try {
            worker_ = std::thread([this] { compressHanded(); });
        } catch (const std::system_error&) {
            alone_ = true;
        }
    }
    if (alone_) {
        stream_.write(chunk_);
    } else {
        std::unique_lock<std::mutex> lock(mutex_);
        room_.wait(lock, [&] { return handed_.size() < kChunksAhead; });
        handed_.push_back(std::move(chunk_));
        ready_.notify_one();
    }
    chunk_.clear();
}

void DeflatePipe::compressHanded() {
    for (;;) {
        std::string chunk;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            ready_.wait(lock, [&] { return !handed_.empty() || done_; });
            if (handed_.empty()) return;
            chunk = std::move(handed_.front());
            handed_.pop_front();
            room_.notify_one();
        }
        // After a failure the rest is taken and dropped, so that the writer never waits for room.
        if (failed_) continue;
        try {
            stream_.write(chunk);
        } catch (...) {
            failed_ = std::current_exception();
        }
    }
}

void DeflatePipe::stop() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    ready_.notify_one();
    worker_.join();
}

Deflated DeflatePipe::finish() {
    if (worker_.joinable() && !chunk_.empty()) hand();
    stop();
    if (failed_) std::rethrow_exception(failed_);
    stream_.write(chunk_);
    chunk_.clear();
    return stream_.finish(true);
}

Deflated Join(Deflated first, const Deflated& second) {
    first.bytes += second.bytes;
#ifdef _WIN32
    // zlib for Windows offers only the form with a 32-bit length; a part's piece stays far
    // below 2 GB, as the package limits keep every part.
    first.crc = static_cast<std::uint32_t>(
        crc32_combine(first.crc, second.crc, static_cast<z_off_t>(second.size)));
#else
    first.crc = static_cast<std::uint32_t>(
        crc32_combine64(first.crc, second.crc, static_cast<z_off64_t>(second.size)));
#endif
    first.size += second.size;
    return first;
}

}  // namespace redline
