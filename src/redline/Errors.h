// What a comparison raises: an input document it cannot read, naming it, and a result it cannot
// write.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

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
    // A document in the Strict form of OOXML, whose namespaces differ from those of the usual
    // (Transitional) form: it is refused, saying so, rather than misread.
    static BadDocument Strict(const std::string& what) {
        BadDocument bad(what);
        bad.strict_ = true;
        return bad;
    }
    std::uint64_t tooLargeMegabytes() const { return tooLarge_; }
    bool twoBodies() const { return twoBodies_; }
    bool strict() const { return strict_; }

  private:
    std::uint64_t tooLarge_;
    bool twoBodies_ = false, strict_ = false;
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

}  // namespace redline
