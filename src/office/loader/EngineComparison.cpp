#include "office/loader/EngineComparison.h"

#include <filesystem>
#include <map>

#include "office/loader/DocumentCheck.h"
#include "office/loader/FileSystem.h"
#include "redline/FilePath.h"

namespace office {

WorkFolder::WorkFolder(const std::string& root) {
    path_ = MakePrivateFolder(root, "comparison");
    if (path_.empty()) {
        throw ComparisonError("The comparison could not be made: its working folder in " + root +
                              " cannot be created.");
    }
}

WorkFolder::~WorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(redline::FilePath(path_), ignored);
}

namespace {

// The document as a Word 2007+ file the engine can read: itself, or the office's conversion.
std::string AsDocx(const UserDocument& document, const std::string& docxPath) {
    if (auto problem = CheckOnDisk(document.path)) throw DocumentError(*problem, document.path);
    if (auto problem = CheckContainer(document.path)) {
        throw DocumentError(*problem, document.path);
    }
    if (redline::IsWordDocument(document.path)) return document.path;
    document.storeAsDocx(docxPath);
    return docxPath;
}

}  // namespace

// Runs the engine on Word 2007+ files, turning what it refuses into the user's message about
// the user's own file: `named` gives the user's name of each file the engine was given.
template <class Engine>
std::vector<redline::Change> RunEngine(const Engine& engine,
                                       const std::map<std::string, std::string>& named) {
    try {
        return engine();
    } catch (const redline::UnreadableDocument& e) {
        const auto found = named.find(e.path());
        const std::string& user = found == named.end() ? e.path() : found->second;
        if (e.tooLargeMegabytes()) {
            throw DocumentError(DocumentProblem::TooLarge, user, e.what(), e.tooLargeMegabytes());
        }
        if (e.twoBodies()) throw DocumentError(DocumentProblem::TwoBodies, user, e.what());
        if (e.strict()) throw DocumentError(DocumentProblem::StrictOpenXml, user, e.what());
        throw DocumentError(DocumentProblem::Damaged, user, e.what());
    } catch (const redline::UnwritableResult& e) {
        throw ResultError("The comparison's result could not be written.", e.what());
    } catch (const std::exception& e) {
        throw ComparisonError("The comparison could not be made.", e.what());
    }
}

std::vector<redline::Change> CompareUserDocuments(
    const UserDocument& original, const UserDocument& revised, const std::string& resultDocx,
    const redline::CompareOptions& options, const std::string& workRoot,
    redline::MarkedDocument* marked, redline::TrackedInputs* tracked) {
    WorkFolder work(workRoot);
    const std::string originalDocx = AsDocx(original, work.file("original.docx"));
    const std::string revisedDocx = AsDocx(revised, work.file("revised.docx"));
    return RunEngine(
        [&] {
            return redline::CompareDocuments(originalDocx, revisedDocx, resultDocx, options, marked,
                                             tracked);
        },
        {{originalDocx, original.path}, {revisedDocx, revised.path}});
}

std::vector<redline::Change> CombineUserDocuments(const UserDocument& original,
                                                  const std::vector<UserDocument>& copies,
                                                  const std::vector<std::string>& reviewers,
                                                  const std::string& resultDocx,
                                                  const redline::CompareOptions& options,
                                                  const std::string& workRoot,
                                                  redline::MarkedDocument* marked) {
    WorkFolder work(workRoot);
    std::map<std::string, std::string> named;
    const std::string originalDocx = AsDocx(original, work.file("original.docx"));
    named[originalDocx] = original.path;
    std::vector<redline::ReviewedCopy> reviewed;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const std::string docx =
            AsDocx(copies[i], work.file("copy-" + std::to_string(i + 1) + ".docx"));
        named[docx] = copies[i].path;
        // A converted copy is named by the user's file, not by the conversion.
        const std::string given = i < reviewers.size() ? reviewers[i] : "";
        reviewed.push_back(
            {docx, given.empty() ? redline::DocumentReviewer(copies[i].path) : given});
    }
    return RunEngine(
        [&] {
            return redline::CombineDocuments(originalDocx, reviewed, resultDocx, options, marked);
        },
        named);
}

}  // namespace office
