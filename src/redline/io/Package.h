// An OOXML package (a .docx): its parts by name, read from a zip file under limits that refuse a
// zip bomb before anything is inflated, and written back as a zip file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "redline/Errors.h"
#include "redline/io/Deflate.h"
#include "redline/io/Namespaces.h"

struct zip;
typedef struct zip zip_t;

namespace redline {

// Caps that no real document meets, checked before and while inflating: an entry is never
// read past the size it declares. No ratio of inflated to stored size: repetitive XML, which
// real documents hold, compresses as well as a bomb does.
struct PackageLimits {
    std::uint64_t entries = 10'000;
    std::uint64_t entryBytes = 256ull << 20;  // any one part, inflated
    std::uint64_t totalBytes = 512ull << 20;  // all parts, inflated
};

class Package {
  public:
    // Reads every part of the zip file at `path`. Raises BadDocument.
    static Package Read(const std::string& path, const PackageLimits& limits = {});
    // Reads every part of a package held in memory (one embedded in another). Raises
    // BadDocument.
    static Package FromBytes(const std::string& bytes, const PackageLimits& limits = {});
    // Whether the file at `path` starts as a zip file does.
    static bool LooksLikeZip(const std::string& path);
    // Whether the file at `path` is a Word document in OOXML (.docx, .docm, .dotx): a package
    // whose content types name a word processing document. Reads nothing else.
    static bool IsWordPackage(const std::string& path);

    bool has(const std::string& name) const { return parts_.count(name) != 0; }
    // The part `name`; raises BadDocument when there is none.
    const std::string& part(const std::string& name) const;
    // Lets go of a part's bytes once they are parsed, keeping its place: it must be put again
    // before the package is written.
    void release(const std::string& name);
    // Adds or replaces a part; new parts go at the end.
    void put(const std::string& name, std::string bytes);
    // The same, for a part compressed already: it is written as it is, and reads as released.
    void putDeflated(const std::string& name, Deflated part);
    const std::vector<std::string>& names() const { return order_; }
    // The prefixes its XML parts are read with: one comparison's two sides share theirs.
    Namespaces& namespaces() const { return *namespaces_; }
    void shareNamespaces(std::shared_ptr<Namespaces> names) { namespaces_ = std::move(names); }

    // Writes the package as a zip file at `path`, [Content_Types].xml first. Raises
    // UnwritableResult when it cannot be written.
    void write(const std::string& path) const;

  private:
    static Package ReadArchive(zip_t* archive, const PackageLimits& limits);
    // Reads every XML part as XML 1.0, and brings those in the Strict form to the usual one.
    void readXml();
    // Writes the package, copying the parts nobody replaced as they are stored when
    // `copyStored`, else from the bytes read.
    void writeOnce(const std::string& path, bool copyStored) const;

    std::map<std::string, std::string> parts_;
    std::map<std::string, Deflated> deflated_;
    std::vector<std::string> order_;
    // The zip file the package was read from, kept open: parts that nobody replaced are copied
    // from it into a new package as they are stored, without inflating and deflating them again.
    std::shared_ptr<zip_t> source_;
    std::map<std::string, std::uint64_t> unchanged_;  // part -> its entry in the source
    std::shared_ptr<Namespaces> namespaces_ = std::make_shared<Namespaces>();
};

}  // namespace redline
