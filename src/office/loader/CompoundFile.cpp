#include "office/loader/CompoundFile.h"

#include <cstring>
#include <filesystem>

#include "redline/FilePath.h"

namespace office {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::size_t kMiniSector = 64;
constexpr std::size_t kDirectoryEntry = 128;
// Enough for any document's list of streams; a longer chain is a loop or a lie.
constexpr std::size_t kLargestDirectory = 4096;
constexpr std::size_t kLargestFat = 1 << 16;

std::uint32_t U32(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint16_t U16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

}  // namespace

std::optional<CompoundFile> CompoundFile::Open(const std::string& path) {
    CompoundFile compound;
    std::error_code error;
    compound.fileSize_ = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    compound.file_.open(redline::FilePath(path), std::ios::binary);
    if (!compound.file_ || !compound.readHeader()) return std::nullopt;
    return compound;
}

bool CompoundFile::readAt(std::uint64_t offset, void* into, std::size_t count) {
    if (offset > fileSize_ || count > fileSize_ - offset) return false;
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(offset));
    return static_cast<bool>(
        file_.read(static_cast<char*>(into), static_cast<std::streamsize>(count)));
}

bool CompoundFile::readHeader() {
    unsigned char header[512];
    if (!readAt(0, header, sizeof header) ||
        std::memcmp(header, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0) {
        return false;
    }
    const std::uint16_t shift = U16(header + 30);
    if (shift != 9 && shift != 12) return false;
    sectorSize_ = 1u << shift;
    const std::uint32_t fatCount = U32(header + 44);
    const std::uint32_t firstDirectory = U32(header + 48);
    miniCutoff_ = U32(header + 56);
    firstMiniFat_ = U32(header + 60);
    if (fatCount > kLargestFat) return false;
    // The first 109 FAT sectors are named in the header; more follow in the DIFAT chain.
    for (std::uint32_t i = 0; i < fatCount && i < 109; ++i) {
        fatSectors_.push_back(U32(header + 76 + 4 * i));
    }
    std::uint32_t difat = U32(header + 68);
    std::vector<unsigned char> sector(sectorSize_);
    for (std::size_t hops = 0; fatSectors_.size() < fatCount && difat <= kMaxRegularSector;
         ++hops) {
        if (hops > kLargestFat || !readAt((static_cast<std::uint64_t>(difat) + 1) * sectorSize_,
                                          sector.data(), sectorSize_)) {
            return false;
        }
        for (std::uint32_t i = 0; i + 1 < sectorSize_ / 4 && fatSectors_.size() < fatCount; ++i) {
            fatSectors_.push_back(U32(sector.data() + 4 * i));
        }
        difat = U32(sector.data() + sectorSize_ - 4);
    }
    const std::string directory =
        readChain(firstDirectory, kLargestDirectory * kDirectoryEntry, false);
    if (directory.empty()) return false;
    for (std::size_t at = 0; at + kDirectoryEntry <= directory.size(); at += kDirectoryEntry) {
        const auto* raw = reinterpret_cast<const unsigned char*>(directory.data() + at);
        Entry entry;
        const std::uint16_t nameBytes = U16(raw + 64);
        for (std::uint16_t i = 0; i + 2 < nameBytes && i < 62; i += 2) {
            const std::uint16_t c = U16(raw + i);
            entry.name += c < 0x80 ? static_cast<char>(c) : '?';
        }
        entry.type = raw[66];
        entry.start = U32(raw + 116);
        entry.size = U32(raw + 120) |
                     static_cast<std::uint64_t>(sectorSize_ == 4096 ? U32(raw + 124) : 0) << 32;
        entries_.push_back(entry);
    }
    return !entries_.empty() && entries_.front().type == 5;  // the root entry comes first
}

std::optional<std::uint32_t> CompoundFile::fatEntry(std::uint32_t sector) {
    const std::uint32_t perSector = sectorSize_ / 4;
    const std::uint32_t index = sector / perSector;
    if (index >= fatSectors_.size() || fatSectors_[index] > kMaxRegularSector) return std::nullopt;
    unsigned char value[4];
    const std::uint64_t at = (static_cast<std::uint64_t>(fatSectors_[index]) + 1) * sectorSize_ +
                             4ull * (sector % perSector);
    if (!readAt(at, value, 4)) return std::nullopt;
    return U32(value);
}

std::optional<std::uint32_t> CompoundFile::miniFatEntry(std::uint32_t sector) {
    const std::string bytes = readChain(firstMiniFat_, 4ull * (sector + 1), false);
    if (bytes.size() < 4ull * (sector + 1)) return std::nullopt;
    return U32(reinterpret_cast<const unsigned char*>(bytes.data()) + 4ull * sector);
}

// Up to `count` bytes along the chain from `start`, in regular sectors or in the mini stream.
std::string CompoundFile::readChain(std::uint32_t start, std::size_t count, bool mini) {
    std::string bytes;
    const std::size_t unit = mini ? kMiniSector : sectorSize_;
    std::string ministream;
    if (mini) {
        if (entries_.empty()) return {};
        const std::uint64_t miniSize = entries_.front().size;
        ministream = readChain(entries_.front().start,
                               static_cast<std::size_t>(std::min<std::uint64_t>(
                                   miniSize, (start + count / unit + 2) * unit)),
                               false);
    }
    // Each step adds a whole sector, so a chain that loops ends once `count` bytes are read.
    for (std::uint32_t sector = start; bytes.size() < count && sector <= kMaxRegularSector;) {
        std::string chunk(unit, '\0');
        if (mini) {
            if ((sector + 1ull) * unit > ministream.size()) break;
            chunk = ministream.substr(sector * unit, unit);
        } else if (!readAt((static_cast<std::uint64_t>(sector) + 1) * unit, chunk.data(), unit)) {
            break;
        }
        bytes += chunk;
        const auto next = mini ? miniFatEntry(sector) : fatEntry(sector);
        if (!next) break;
        sector = *next;
    }
    if (bytes.size() > count) bytes.resize(count);
    return bytes;
}

bool CompoundFile::hasStream(const std::string& name) const {
    for (const Entry& entry : entries_) {
        if (entry.type == 2 && entry.name == name) return true;
    }
    return false;
}

std::string CompoundFile::streamStart(const std::string& name, std::size_t count) {
    for (const Entry& entry : entries_) {
        if (entry.type != 2 || entry.name != name) continue;
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, entry.size));
        return readChain(entry.start, wanted, entry.size < miniCutoff_);
    }
    return {};
}

}  // namespace office
