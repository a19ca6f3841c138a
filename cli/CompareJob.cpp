#include "CompareJob.h"

#include <cctype>
#include <filesystem>
#include <map>
#include <random>

#include "app/ApplicationFolder.h"
#include "office/loader/DocumentCheck.h"
#include "office/loader/EngineComparison.h"
#include "office/loader/FileSystem.h"
#include "redline/Combine.h"
#include "redline/Compare.h"
#include "redline/FilePath.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kDocxFilter = "MS Word 2007 XML";
}  // namespace

std::string LowerExtension(const std::string& path) {
    std::string extension = redline::Utf8Path(PathFromUtf8(path).extension());
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
    const auto one = office::FileIdentity(first), other = office::FileIdentity(second);
    if (one && other) return *one == *other;
    // One of them does not exist (yet): the same place once every link and ".." is resolved.
    std::error_code error;
    const fs::path a = fs::weakly_canonical(fs::absolute(PathFromUtf8(first)), error);
    if (error) return false;
    const fs::path b = fs::weakly_canonical(fs::absolute(PathFromUtf8(second)), error);
    return !error && a == b;
}

namespace {

// Every input of the job, with what it is to the user.
std::vector<std::pair<const std::string*, const char*>> Inputs(const CompareJob& job) {
    std::vector<std::pair<const std::string*, const char*>> inputs{{&job.original, "original"}};
    if (job.combines()) {
        for (const std::string& copy : job.copies) inputs.emplace_back(&copy, "reviewer's copy");
    } else {
        inputs.emplace_back(&job.revised, "revised document");
    }
    return inputs;
}

void CheckCopies(const CompareJob& job) {
    if (job.copies.size() > redline::kMostReviewers) {
        throw JobRefused("at most " + std::to_string(redline::kMostReviewers) +
                         " reviewers' copies can be combined at once.");
    }
    if (job.reviewers.size() > job.copies.size())
        throw JobRefused("more reviewers' names than copies.");
    for (std::size_t i = 0; i < job.copies.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (SameFile(job.copies[i], job.copies[j])) {
                throw JobRefused("the copies \"" + job.copies[j] + "\" and \"" + job.copies[i] +
                                 "\" are one file; give each copy once.");
            }
        }
    }
}

void CheckReport(const CompareJob& job) {
    auto others = Inputs(job);
    if (!job.result.empty()) others.emplace_back(&job.result, "result");
    for (const auto& [other, role] : others) {
        if (SameFile(job.report, *other)) {
            throw ResultIsInput("the report \"" + job.report + "\" would overwrite \"" + *other +
                                "\"; give it another name.");
        }
    }
}

void CheckResultFolder(const std::string& result) {
    std::error_code error;
    const std::string folder =
        redline::Utf8Path(fs::absolute(PathFromUtf8(result), error).parent_path());
    if (!error && office::FolderIsWritable(folder)) return;
    throw office::ResultError("cannot write the result into \"" + folder +
                              "\": the folder does not exist or is not writable.");
}

// A name beside `path`, hidden, that no other file has yet, ending in `extension`.
std::string TemporaryBeside(const std::string& path, const std::string& extension) {
    const fs::path target = PathFromUtf8(path);
    std::random_device device;
    const std::string name =
        "." + redline::Utf8Path(target.stem()) + ".part-" + std::to_string(device()) + extension;
    return redline::Utf8Path(target.parent_path() / PathFromUtf8(name));
}

// Removes the file when it goes, unless it was kept.
struct Scrap {
    std::string path;
    ~Scrap() {
        std::error_code ignored;
        if (!path.empty()) fs::remove(redline::FilePath(path), ignored);
    }
};

office::UserDocument Convertible(const OfficeSource& office, const std::string& path) {
    return {path, [&office, path](const std::string& docx) { office().toDocx(path, docx); }};
}

}  // namespace

void CheckJob(const CompareJob& job) {
    CheckCopies(job);
    if (!job.report.empty()) CheckReport(job);
    if (job.result.empty()) return;
    if (ExportFilter(job.result).empty())
        throw JobRefused("the result must end in .docx, .odt, .doc or .pdf.");
    for (const auto& [input, role] : Inputs(job)) {
        if (SameFile(job.result, *input)) {
            throw ResultIsInput("the result \"" + job.result + "\" is the " + role + " \"" +
                                *input + "\" itself, which must not be overwritten; give the " +
                                "result another name.");
        }
    }
}

std::vector<redline::Change> RunJob(const OfficeSource& office, const CompareJob& job,
                                    const redline::CompareOptions& settings, const MarkedLook& look,
                                    redline::TrackedInputs* tracked) {
    CheckJob(job);
    const bool stored = !job.result.empty();
    if (stored) CheckResultFolder(job.result);
    const bool docx = !stored || ExportFilter(job.result) == kDocxFilter;
    const std::string temporary = redline::Utf8Path(fs::temp_directory_path());
    const std::string beside = stored ? job.result : temporary + "/quorvane.docx";
    Scrap partial{TemporaryBeside(beside, LowerExtension(beside))};
    Scrap marked{docx ? "" : TemporaryBeside(beside, ".docx")};
    const std::string made = docx ? partial.path : marked.path;
    // A result in another format is written by the office; one that drops changes inside
    // block-level content controls gets their content in their place.
    redline::CompareOptions options = settings;
    options.date = redline::RevisionDate();
    options.forWriter = !docx && !kConverterKeepsBlockControls;
    std::vector<redline::Change> changes;
    redline::MarkedDocument document;
    redline::MarkedDocument* read = look ? &document : nullptr;
    if (job.combines()) {
        std::vector<office::UserDocument> copies;
        for (const std::string& copy : job.copies) copies.push_back(Convertible(office, copy));
        changes = office::CombineUserDocuments(Convertible(office, job.original), copies,
                                               job.reviewers, made, options, temporary, read);
    } else {
        changes = office::CompareUserDocuments(Convertible(office, job.original),
                                               Convertible(office, job.revised), made, options,
                                               temporary, read, tracked);
    }
    if (look) look(made, changes, document);
    if (!stored) return changes;
    if (!docx) office().fromDocx(made, partial.path);
    if (const auto why = office::ReplaceWith(partial.path, job.result)) {
        throw office::ResultError("cannot store the result as \"" + job.result + "\": " + *why +
                                  ".");
    }
    partial.path.clear();
    return changes;
}

JobFailure CurrentFailure(const CompareJob& job) {
    try {
        throw;
    } catch (const ResultIsInput& e) {
        return {kUsage, e.what(), ""};
    } catch (const JobRefused& e) {
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
