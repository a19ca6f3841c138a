// An OOXML package (a .docx): its parts by name, read from a zip file under limits that refuse a
// zip bomb before anything is inflated, and written back as a zip file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "redline/Deflate.h"

struct zip;
typedef struct zip zip_t;

namespace redline {

// A document that cannot be read: a broken zip, a part missing or malformed, or one that breaks
// the limits. `what()` says what, in a developer's words.
class BadDocument : public std::runtime_error {
  public:
    // `tooLargeMegabytes`: the limit a document broke that is sound but too large, else 0.
    explicit BadDocument(const std::string& what, std::uint64_t tooLargeMegabytes = 0)
        : std::runtime_error(what), tooLarge_(tooLargeMegabytes) {}
    // A main part with two document bodies: a word processor shows one of them, so the user
    // must be told why it cannot be compared rather than that it is damaged.
    static BadDocument TwoBodies(const std::string& what) {
        BadDocument bad(what);
        bad.twoBodies_ = true;
        return bad;
    }
    std::uint64_t tooLargeMegabytes() const { return tooLarge_; }
    bool twoBodies() const { return twoBodies_; }

  private:
    std::uint64_t tooLarge_;
    bool twoBodies_ = false;
};

// An input document that cannot be read, naming it.
class UnreadableDocument : public BadDocument {
  public:
    UnreadableDocument(std::string path, const BadDocument& cause)
        : BadDocument(cause), path_(std::move(path)) {}
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// A result that cannot be written: its folder is missing or closed, or the disk is full.
class UnwritableResult : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

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

    // Writes the package as a zip file at `path`, [Content_Types].xml first. Raises
    // UnwritableResult when it cannot be written.
    void write(const std::string& path) const;

  private:
    std::map<std::string, std::string> parts_;
    std::map<std::string, Deflated> deflated_;
    std::vector<std::string> order_;
    // The zip file the package was read from, kept open: parts that nobody replaced are copied
    // from it into a new package as they are stored, without inflating and deflating them again.
    std::shared_ptr<zip_t> source_;
    std::map<std::string, std::uint64_t> unchanged_;  // part -> its entry in the source
};

}  // namespace redline
