#include "CompareJob.h"

#include <stdlib.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <random>

#include "office/loader/DocumentCheck.h"
#include "redline/Compare.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kDocxFilter = "MS Word 2007 XML";
}  // namespace

std::string ExportFilter(const std::string& result) {
    static const std::map<std::string, std::string> filters = {
        {".docx", kDocxFilter},
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

// A private folder for the files a job makes on its way; removed with it.
class WorkFolder {
  public:
    WorkFolder() {
        std::string pattern = (fs::temp_directory_path() / "quorvane-compare-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder can be made.");
        path_ = pattern;
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// The input as a Word 2007+ file: itself, or the office's conversion of it.
std::string AsDocx(const OfficeSource& office, const std::string& path, const std::string& docx) {
    if (auto problem = office::CheckOnDisk(path)) throw office::DocumentError(*problem, path);
    if (auto problem = office::CheckContainer(path)) throw office::DocumentError(*problem, path);
    if (redline::Package::IsWordPackage(path)) return path;
    office().convert(path, docx);
    return docx;
}

}  // namespace

std::vector<redline::Change> RunJob(const OfficeSource& office, const CompareJob& job,
                                    const std::string& author) {
    const std::string partial = TemporaryBeside(job.result);
    try {
        WorkFolder work;
        const std::string original = AsDocx(office, job.original, work.file("original.docx"));
        const std::string revised = AsDocx(office, job.revised, work.file("revised.docx"));
        const bool docx = ExportFilter(job.result) == kDocxFilter;
        const std::string made = docx ? partial : work.file("result.docx");
        std::vector<redline::Change> changes;
        try {
            changes = redline::CompareDocuments(original, revised, made,
                                                {author, redline::RevisionDate(), true});
        } catch (const redline::UnreadableDocument& e) {
            throw office::DocumentError(office::DocumentProblem::Damaged,
                                        e.path() == original ? job.original : job.revised,
                                        e.what());
        }
        if (!docx) {
            auto result = office().open(made);
            office().store(result, partial, ExportFilter(job.result));
            office().close(result);
        }
        fs::rename(partial, job.result);
        return changes;
    } catch (...) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw;
    }
}
