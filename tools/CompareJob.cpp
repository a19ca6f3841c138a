#include "CompareJob.h"

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <random>

namespace fs = std::filesystem;

std::string ExportFilter(const std::string& result) {
    static const std::map<std::string, std::string> filters = {
        {".docx", "MS Word 2007 XML"},
        {".odt", "writer8"},
        {".doc", "MS Word 97"},
        {".pdf", "writer_pdf_Export"},
    };
    std::string extension = fs::path(result).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto found = filters.find(extension);
    return found == filters.end() ? "" : found->second;
}

std::string ResultFolderProblem(const std::string& result) {
    const fs::path folder = fs::absolute(result).parent_path();
    if (fs::is_directory(folder) && access(folder.c_str(), W_OK) == 0) return {};
    return "cannot write the result into \"" + folder.string() +
           "\": the folder does not exist or is not writable.";
}

namespace {

std::string TemporaryBeside(const std::string& path) {
    const fs::path target(path);
    std::random_device device;
    const std::string name = "." + target.stem().string() + ".part-" + std::to_string(device()) +
                             target.extension().string();
    return (target.parent_path() / name).string();
}

}  // namespace

office::ChangeCounts RunJob(office::ComparisonSession& session, const CompareJob& job) {
    const std::string partial = TemporaryBeside(job.result);
    try {
        auto original = session.open(job.original);
        auto result = session.compare(original, job.revised);
        const office::ChangeCounts counts = session.countChanges(result);
        session.store(result, partial, ExportFilter(job.result));
        session.close(result);
        session.close(original);
        fs::rename(partial, job.result);
        return counts;
    } catch (...) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw;
    }
}
