// The one way from two documents a user named into our comparison engine, for the program's
// merge and the command line alike: each document as Word 2007+ (stored so by the office when it
// is in another format), compared by the engine, every refusal of the engine turned into the
// user's message naming the user's own file, and every file made on the way removed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "automation/Error.h"
#include "redline/Changes.h"
#include "redline/Combine.h"
#include "redline/Compare.h"

namespace office {

// A document as the user named it, and how the office stores it as Word 2007+ at a given path;
// called only for a document that is not Word 2007+ already.
struct UserDocument {
    std::string path;
    std::function<void(const std::string& docxPath)> storeAsDocx;
};

// The comparison's result cannot be written: its folder is missing or closed, or the disk is full.
class ResultError : public automation::Error {
  public:
    using automation::Error::Error;
};

// The comparison itself failed, on documents it could read: not the office's doing.
class ComparisonError : public automation::Error {
  public:
    using automation::Error::Error;
};

// A folder that only we can open, made below `root`, for the files of one comparison; removed
// with all it holds when it goes.
class WorkFolder {
  public:
    explicit WorkFolder(const std::string& root);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Marks the differences of `revised` against `original` as tracked changes in the Word 2007+
// file `resultDocx` and answers every change. Conversions are made in a private folder below
// `workRoot`, removed before it returns. Raises DocumentError naming the user's file for a
// document that cannot be used, ResultError when the result cannot be written, and
// automation::Error for anything else (the office's own errors pass through as they are).
// With `tracked`, also what tracked changes the inputs held and how they were treated.
std::vector<redline::Change> CompareUserDocuments(
    const UserDocument& original, const UserDocument& revised, const std::string& resultDocx,
    const redline::CompareOptions& options, const std::string& workRoot,
    redline::MarkedDocument* marked = nullptr, redline::TrackedInputs* tracked = nullptr);

// Combines reviewers' copies of `original` into the Word 2007+ file `resultDocx`, each copy's
// changes under its name in `reviewers` (one a copy; an empty one: the name the copy's
// properties or file give), and answers every change. Converts, cleans up and raises as
// CompareUserDocuments does.
std::vector<redline::Change> CombineUserDocuments(const UserDocument& original,
                                                  const std::vector<UserDocument>& copies,
                                                  const std::vector<std::string>& reviewers,
                                                  const std::string& resultDocx,
                                                  const redline::CompareOptions& options,
                                                  const std::string& workRoot,
                                                  redline::MarkedDocument* marked = nullptr);

}  // namespace office
