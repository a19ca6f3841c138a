// Reads just enough of an OLE compound file (the container of Word 97-2003 documents and of
// password-protected Word 2007+ documents) to tell what it holds: the names of its streams and
// the first bytes of one. Every offset and chain is checked against the file; nothing is read
// whole.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace office {

class CompoundFile {
  public:
    // The container at `path`, or nothing when the file is not a well-formed compound file.
    static std::optional<CompoundFile> Open(const std::string& path);

    bool hasStream(const std::string& name) const;
    // Up to `count` bytes from the start of the stream `name`; empty when there is none.
    std::string streamStart(const std::string& name, std::size_t count);

  private:
    struct Entry {
        std::string name;  // ASCII names only; others are kept empty
        std::uint8_t type = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    bool readHeader();
    bool readAt(std::uint64_t offset, void* into, std::size_t count);
    std::optional<std::uint32_t> fatEntry(std::uint32_t sector);
    std::optional<std::uint32_t> miniFatEntry(std::uint32_t sector);
    std::string readChain(std::uint32_t start, std::size_t count, bool mini);

    std::ifstream file_;
    std::uint64_t fileSize_ = 0;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t miniCutoff_ = 4096;
    std::uint32_t firstMiniFat_ = 0;
    std::vector<std::uint32_t> fatSectors_;
    std::vector<Entry> entries_;
};

}  // namespace office
