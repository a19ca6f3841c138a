// quorvane-compare: the comparison engine for scripts. Marks the differences of REVISED
// against ORIGINAL as tracked changes and stores the result, headless.
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/ApplicationFolder.h"
#include "app/Product.h"
#include "platform/office/DocumentCheck.h"
#include "platform/office/OfficeEngine.h"

namespace {

enum ExitCode { kDone = 0, kEngineFailure = 1, kUsage = 2, kBadInput = 3 };

const char* kUsageText =
    "Usage: quorvane-compare ORIGINAL REVISED -o RESULT [--author NAME] [--json]\n"
    "\n"
    "Marks the differences of REVISED against ORIGINAL as tracked insertions and deletions\n"
    "and stores the result in RESULT, in the format its extension names: .docx, .odt, .doc\n"
    "or .pdf. Neither input changes. Prints the numbers of insertions, deletions and other\n"
    "changes.\n"
    "\n"
    "Options:\n"
    "  -o, --output RESULT  where to store the marked-up result (required)\n"
    "  --author NAME        the name the tracked changes carry (default: your account's name)\n"
    "  --json               print the numbers as one JSON object\n"
    "  --help               show this text\n"
    "  --version            show the version\n"
    "\n"
    "Exit codes: 0 done; 1 the word processor failed; 2 wrong usage; 3 an input document\n"
    "cannot be used (missing, a folder, empty, not a Word document, damaged, password\n"
    "protected).\n";

struct Arguments {
    std::vector<std::string> documents;
    std::string output;
    std::string author;
    bool json = false;
};

std::string ExportFilter(const std::string& path) {
    static const std::map<std::string, std::string> filters = {
        {".docx", "MS Word 2007 XML"},
        {".odt", "writer8"},
        {".doc", "MS Word 97"},
        {".pdf", "writer_pdf_Export"},
    };
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto found = filters.find(extension);
    return found == filters.end() ? "" : found->second;
}

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

int Usage(const std::string& problem) {
    std::cerr << "quorvane-compare: " << problem << "\n\n" << kUsageText;
    return kUsage;
}

// Parses the command line; answers an exit code when the program should end at once.
std::optional<int> Parse(int argc, char* argv[], Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsageText;
            return kDone;
        } else if (arg == "--version") {
            std::cout << "quorvane-compare " << kVersionText << "\n";
            return kDone;
        } else if (arg == "-o" || arg == "--output" || arg == "--author") {
            const auto given = value();
            if (!given) return Usage(arg + " needs a value.");
            (arg == "--author" ? args.author : args.output) = *given;
        } else if (arg == "--json") {
            args.json = true;
        } else if (arg == "--") {
            for (++i; i < argc; ++i) args.documents.push_back(argv[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg + ".");
        } else {
            args.documents.push_back(arg);
        }
    }
    if (args.documents.size() != 2)
        return Usage("give exactly two documents, ORIGINAL and REVISED.");
    if (args.output.empty()) return Usage("give the result file with -o RESULT.");
    if (ExportFilter(args.output).empty()) {
        return Usage("the result must end in .docx, .odt, .doc or .pdf.");
    }
    return std::nullopt;
}

std::string TemporaryBeside(const std::string& path) {
    const std::filesystem::path target(path);
    std::random_device device;
    const std::string name = "." + target.stem().string() + ".part-" + std::to_string(device()) +
                             target.extension().string();
    return (target.parent_path() / name).string();
}

}  // namespace

int main(int argc, char* argv[]) {
    Arguments args;
    if (auto exit = Parse(argc, argv, args)) return *exit;

    const std::filesystem::path folder = std::filesystem::absolute(args.output).parent_path();
    if (!std::filesystem::is_directory(folder) || access(folder.c_str(), W_OK) != 0) {
        std::cerr << "quorvane-compare: cannot write the result into \"" << folder.string()
                  << "\": the folder does not exist or is not writable.\n";
        return kBadInput;
    }

    // Stored beside the target under a temporary name and renamed only when complete, so no
    // half-written result is ever left under the name asked for.
    const std::string partial = TemporaryBeside(args.output);
    try {
        office::SessionOptions options;
        options.headless = true;
        options.author = args.author;
        const auto session = office::LoadOfficeEngine(ApplicationFolder()).startSession(options);
        auto original = session->open(args.documents[0]);
        auto result = session->compare(original, args.documents[1]);
        const office::ChangeCounts counts = session->countChanges(result);
        session->store(result, partial, ExportFilter(args.output));
        std::filesystem::rename(partial, args.output);
        if (args.json) {
            std::cout << "{\"insertions\": " << counts.insertions
                      << ", \"deletions\": " << counts.deletions << ", \"other\": " << counts.other
                      << ", \"result\": " << JsonText(args.output) << "}\n";
        } else {
            std::cout << "insertions: " << counts.insertions << "\ndeletions: " << counts.deletions
                      << "\nother changes: " << counts.other << "\n";
        }
        return kDone;
    } catch (const office::DocumentError& e) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        std::cerr << "quorvane-compare: " << e.description() << "\n";
        return kBadInput;
    } catch (const std::exception& e) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        std::cerr << "quorvane-compare: " << e.what() << "\n";
        return kEngineFailure;
    }
}
