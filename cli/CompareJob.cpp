#include "CompareJob.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <random>

#include "office/loader/DocumentCheck.h"
#include "office/loader/EngineComparison.h"
#include "redline/Compare.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kDocxFilter = "MS Word 2007 XML";
}  // namespace

std::string LowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::string ExportFilter(const std::string& result) {
    static const std::map<std::string, std::string> filters = {
        {".docx", kDocxFilter},
        {".odt", "writer8"},
        {".doc", "MS Word 97"},
        {".pdf", "writer_pdf_Export"},
    };
    const auto found = filters.find(LowerExtension(result));
    return found == filters.end() ? "" : found->second;
}

bool SameFile(const std::string& first, const std::string& second) {
    struct stat a {
    }, b{};
    if (stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0) {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    }
    // One of them does not exist (yet): the same place once every link and ".." is resolved.
    std::error_code error;
    const fs::path one = fs::weakly_canonical(fs::absolute(first), error);
    if (error) return false;
    const fs::path other = fs::weakly_canonical(fs::absolute(second), error);
    return !error && one == other;
}

namespace {

void RefuseInputAsResult(const CompareJob& job) {
    for (const auto& [input, role] :
         {std::pair{&job.original, "original"}, std::pair{&job.revised, "revised document"}}) {
        if (SameFile(job.result, *input)) {
            throw ResultIsInput("the result \"" + job.result + "\" is the " + role + " \"" +
                                *input + "\" itself, which must not be overwritten; give the " +
                                "result another name.");
        }
    }
}

void CheckResultFolder(const std::string& result) {
    const fs::path folder = fs::absolute(result).parent_path();
    if (fs::is_directory(folder) && access(folder.c_str(), W_OK) == 0) return;
    throw office::ResultError("cannot write the result into \"" + folder.string() +
                              "\": the folder does not exist or is not writable.");
}

// A name beside `path`, hidden, that no other file has yet, ending in `extension`.
std::string TemporaryBeside(const std::string& path, const std::string& extension) {
    const fs::path target(path);
    std::random_device device;
    const std::string name =
        "." + target.stem().string() + ".part-" + std::to_string(device()) + extension;
    return (target.parent_path() / name).string();
}

// Removes the file when it goes, unless it was kept.
struct Scrap {
    std::string path;
    ~Scrap() {
        std::error_code ignored;
        if (!path.empty()) fs::remove(path, ignored);
    }
};

office::UserDocument Convertible(const OfficeSource& office, const std::string& path) {
    return {path, [&office, path](const std::string& docx) { office().convert(path, docx); }};
}

}  // namespace

std::vector<redline::Change> RunJob(const OfficeSource& office, const CompareJob& job,
                                    const redline::CompareOptions& settings,
                                    const MarkedLook& look) {
    const bool stored = !job.result.empty();
    if (stored) {
        RefuseInputAsResult(job);
        CheckResultFolder(job.result);
    }
    const bool docx = !stored || ExportFilter(job.result) == kDocxFilter;
    const std::string beside =
        stored ? job.result : (fs::temp_directory_path() / "quorvane.docx").string();
    Scrap partial{TemporaryBeside(beside, fs::path(beside).extension().string())};
    Scrap marked{docx ? "" : TemporaryBeside(beside, ".docx")};
    const std::string made = docx ? partial.path : marked.path;
    // A result in another format is written by the office, which drops changes inside
    // block-level content controls: those give way to their content there.
    redline::CompareOptions options = settings;
    options.date = redline::RevisionDate();
    options.forWriter = !docx;
    const auto changes = office::CompareUserDocuments(Convertible(office, job.original),
                                                      Convertible(office, job.revised), made,
                                                      options, fs::temp_directory_path().string());
    if (look) look(made, changes);
    if (!stored) return changes;
    if (!docx) {
        auto result = office().open(made);
        office().store(result, partial.path, ExportFilter(job.result));
        office().close(result);
    }
    std::error_code error;
    fs::rename(partial.path, job.result, error);
    if (error) {
        throw office::ResultError("cannot store the result as \"" + job.result +
                                  "\": " + error.message() + ".");
    }
    partial.path.clear();
    return changes;
}

JobFailure CurrentFailure(const CompareJob& job) {
    try {
        throw;
    } catch (const ResultIsInput& e) {
        return {kUsage, e.what(), ""};
    } catch (const office::DocumentError& e) {
        return {kBadInput, e.description(), e.detail()};
    } catch (const office::ResultError& e) {
        // The engine's own words name a temporary file; the user is told of the result.
        const bool own = e.detail().empty();
        return {kResultFailure,
                own ? e.description()
                    : "cannot write the result \"" + job.result +
                          "\": the disk may be full, or the folder closed to writing.",
                e.detail()};
    } catch (const automation::Error& e) {
        return {kEngineFailure, e.description(), e.detail()};
    } catch (const std::exception& e) {
        return {kEngineFailure, e.what(), ""};
    }
}
