#include "office/loader/EngineComparison.h"

#include <filesystem>

#include "office/loader/DocumentCheck.h"
#include "office/loader/FileSystem.h"
#include "redline/FilePath.h"

namespace office {

WorkFolder::WorkFolder(const std::string& root) {
    path_ = MakePrivateFolder(root, "comparison");
    if (path_.empty()) {
        throw automation::Error("The comparison could not be made: its working folder in " + root +
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

std::vector<redline::Change> CompareUserDocuments(const UserDocument& original,
                                                  const UserDocument& revised,
                                                  const std::string& resultDocx,
                                                  const redline::CompareOptions& options,
                                                  const std::string& workRoot) {
    WorkFolder work(workRoot);
    const std::string originalDocx = AsDocx(original, work.file("original.docx"));
    const std::string revisedDocx = AsDocx(revised, work.file("revised.docx"));
    try {
        return redline::CompareDocuments(originalDocx, revisedDocx, resultDocx, options);
    } catch (const redline::UnreadableDocument& e) {
        const std::string& named = e.path() == originalDocx ? original.path : revised.path;
        if (e.tooLargeMegabytes()) {
            throw DocumentError(DocumentProblem::TooLarge, named, e.what(), e.tooLargeMegabytes());
        }
        if (e.twoBodies()) throw DocumentError(DocumentProblem::TwoBodies, named, e.what());
        if (e.strict()) throw DocumentError(DocumentProblem::StrictOpenXml, named, e.what());
        throw DocumentError(DocumentProblem::Damaged, named, e.what());
    } catch (const redline::UnwritableResult& e) {
        throw ResultError("The comparison's result could not be written.", e.what());
    } catch (const std::exception& e) {
        throw automation::Error("The comparison could not be made.", e.what());
    }
}

}  // namespace office
