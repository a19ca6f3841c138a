// What can be told about a document from the file system alone, before the office sees it, and
// the descriptions the word processor stand-in gives for every problem with a document.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "automation/Error.h"

namespace office {

enum class DocumentProblem {
    NotFound,
    Folder,
    Empty,
    Unreadable,
    NotWordDocument,
    Damaged,
    PasswordProtected,
    OldWordFormat,
    TooLarge,
    TwoBodies,
    StrictOpenXml,
};

// `megabytes`: for a document too large to compare, the limit it broke.
std::string DescribeProblem(DocumentProblem problem, const std::string& path,
                            std::uint64_t megabytes = 0);

// A failure that lies in a document the user named, not in the word processor.
class DocumentError : public automation::Error {
  public:
    DocumentError(DocumentProblem problem, const std::string& path, std::string detail = {},
                  std::uint64_t megabytes = 0)
        : automation::Error(DescribeProblem(problem, path, megabytes), std::move(detail)),
          problem_(problem),
          path_(path) {}
    DocumentProblem problem() const { return problem_; }
    // The document, as the user named it.
    const std::string& path() const { return path_; }

  private:
    DocumentProblem problem_;
    std::string path_;
};

// The problem that makes `path` unusable as a document, if the file system already shows one.
std::optional<DocumentProblem> CheckOnDisk(const std::string& path);

// What the file's container alone shows: a Word 2007+ document protected by a password is an
// OLE compound file holding an encrypted package.
std::optional<DocumentProblem> CheckContainer(const std::string& path);

// Whether the file carries the marks of a Word format older than Word 97: Word for Windows 1.x
// and 2.0 by their first bytes, Word 6.0 and 95 by the WordDocument stream of their container.
bool LooksLikeOldWordFormat(const std::string& path);

// Whether the file starts like one of the formats a word processor keeps documents in (a zip
// package, an OLE2 compound file, RTF or XML), so that a file that fails to load can be called
// damaged rather than something else altogether.
bool LooksLikeDocumentFile(const std::string& path);

}  // namespace office
