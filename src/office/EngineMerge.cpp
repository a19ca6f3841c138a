#include "office/EngineMerge.h"

#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "automation/Error.h"
#include "office/loader/DocumentCheck.h"
#include "redline/Compare.h"

namespace office {

ScratchFolder::ScratchFolder(const std::string& profile) {
    std::random_device device;
    path_ = profile + "/comparison-" + std::to_string(device());
    if (mkdir(path_.c_str(), 0700) != 0) {
        throw automation::Error("The comparison could not be made: its working folder " + path_ +
                                " cannot be created.");
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void RunEngine(const EngineRun& run) {
    try {
        redline::CompareDocuments(run.originalDocx, run.revisedDocx, run.resultDocx,
                                  {run.author, redline::RevisionDate(), run.formatting});
    } catch (const redline::UnreadableDocument& e) {
        const bool original = e.path() == run.originalDocx;
        throw DocumentError(DocumentProblem::Damaged, original ? run.originalName : run.revisedName,
                            e.what());
    } catch (const std::exception& e) {
        throw automation::Error("The comparison's result could not be written.", e.what());
    }
}

}  // namespace office
