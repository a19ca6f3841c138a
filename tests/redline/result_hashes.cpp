// Hashes what the engine makes of a fixed set of pairs, for checking that a change meant to keep
// its results (a move of code, a speed-up) keeps every byte: the result's parts, the change list
// and the result as the report reads it, family by family. Dates and authors are fixed.
//   result_hashes [--seeds N] [--each] [--keep FOLDER] [FOLDER...]
//   result_hashes --write-generated FOLDER N
// A FOLDER holds pairs NAME-a.docx and NAME-b.docx, and lone .docx files, each compared with the
// next in name order.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "redline/Compare.h"
#include "redline/MarkedResult.h"
#include "redline/io/Package.h"
#include "support/DocumentGenerator.h"
#include "support/Files.h"
#include "support/RoundTrip.h"

namespace fs = std::filesystem;

namespace {

bool each = false;  // --each: every pair's hashes too, to find the pairs that changed
std::string keep;   // --keep FOLDER: every pair's inputs are kept there, as NAME-N-a.docx and -b

// FNV-1a, 64 bits: the same value on every build and machine.
struct Hash {
    std::uint64_t value = 0xcbf29ce484222325ull;
    void add(const std::string& text) {
        for (unsigned char c : text) value = (value ^ c) * 0x100000001b3ull;
        add(text.size());
    }
    void add(std::uint64_t number) {
        for (int i = 0; i < 8; ++i)
            value = (value ^ ((number >> (8 * i)) & 0xff)) * 0x100000001b3ull;
    }
};

void AddSpans(Hash& hash, const redline::MarkedParagraph& paragraph) {
    for (const redline::Span& span : paragraph.spans) {
        hash.add(static_cast<std::uint64_t>(span.kind));
        hash.add(span.text);
        hash.add(span.reformatted * 1u + span.noteEnd * 2u);
        for (int n : {span.mark, span.note, span.box}) hash.add(static_cast<std::uint64_t>(n));
    }
    for (int n : {static_cast<int>(paragraph.end), paragraph.endMark, paragraph.restyled}) {
        hash.add(static_cast<std::uint64_t>(n));
    }
    hash.add(paragraph.original);
    hash.add(paragraph.revised);
}

void AddBlocks(Hash& hash, const std::vector<redline::MarkedBlock>& blocks) {
    for (const redline::MarkedBlock& block : blocks) {
        hash.add(block.table);
        if (!block.table) AddSpans(hash, block.paragraph);
        for (const redline::MarkedRow& row : block.rows) {
            hash.add(static_cast<std::uint64_t>(row.kind));
            hash.add(static_cast<std::uint64_t>(row.mark));
            for (const auto& cell : row.cells) AddBlocks(hash, cell);
        }
    }
}

struct Family {
    explicit Family(const char* name) : name(name) {}
    const char* name;
    int pairs = 0, refused = 0;
    Hash result, changes, report;

    // Compares the pair and hashes all it gives; a refusal is hashed as its message.
    void compare(const std::string& a, const std::string& b, const std::string& r,
                 redline::CompareOptions options = {}) {
        options.date = "2026-01-01T00:00:00Z";
        options.author = "Hash";
        ++pairs;
        if (!keep.empty()) {
            const std::string stem = keep + "/" + name + "-" + std::to_string(pairs);
            fs::copy_file(a, stem + "-a.docx", fs::copy_options::overwrite_existing);
            fs::copy_file(b, stem + "-b.docx", fs::copy_options::overwrite_existing);
        }
        std::vector<redline::Change> found;
        try {
            found = redline::CompareDocuments(a, b, r, options);
        } catch (const std::exception& e) {
            ++refused;
            result.add(e.what());
            return;
        }
        // Hashed for the family and, with --each, for the pair alone.
        Hash own[3];
        Hash* into[2][3] = {{&result, &changes, &report}, {&own[0], &own[1], &own[2]}};
        for (auto& hashes : into) {
            Hash &resultHash = *hashes[0], &changesHash = *hashes[1], &reportHash = *hashes[2];
            const redline::Package package = redline::Package::Read(r);
            for (const std::string& name : package.names()) {
                resultHash.add(name);
                resultHash.add(package.part(name));
            }
            for (const redline::Change& change : found) {
                changesHash.add(static_cast<std::uint64_t>(change.kind));
                changesHash.add(static_cast<std::uint64_t>(change.part));
                changesHash.add(change.text);
                changesHash.add(change.originalParagraph);
                changesHash.add(change.revisedParagraph);
                changesHash.add(static_cast<std::uint64_t>(change.mark));
            }
            for (const redline::MarkedStory& story : redline::ReadMarked(r)) {
                reportHash.add(static_cast<std::uint64_t>(story.part));
                reportHash.add(story.title);
                AddBlocks(reportHash, story.blocks);
            }
            if (!each) break;
        }
        if (each) {
            std::printf("  %s %d  result %016llx  changes %016llx  report %016llx  %s\n", name,
                        pairs, static_cast<unsigned long long>(own[0].value),
                        static_cast<unsigned long long>(own[1].value),
                        static_cast<unsigned long long>(own[2].value), b.c_str());
        }
    }

    void print() const {
        std::printf(
            "%-10s %5d pairs %3d refused  result %016llx  changes %016llx  report %016llx\n", name,
            pairs, refused, static_cast<unsigned long long>(result.value),
            static_cast<unsigned long long>(changes.value),
            static_cast<unsigned long long>(report.value));
    }
};

// Generated pairs as the round-trip tests make them: default settings, drawn settings, letters.
void Generated(int seeds, const std::string& folder) {
    const std::string a = folder + "/a.docx", b = folder + "/b.docx", r = folder + "/r.docx";
    auto make = [&](generated::Random& random, PairSize size = {}) {
        const auto original = generated::RandomDocument(
            random, size.blocks ? size.blocks : 1 + static_cast<int>(random() % 10));
        const auto revised = generated::Edit(
            original, random, size.edits ? size.edits : 1 + static_cast<int>(random() % 4));
        generated::WriteGenerated(original, a, random);
        generated::WriteGenerated(revised, b, random);
    };
    Family plain("generated"), drawn("settings"), letters("letters");
    for (int seed = 1; seed <= seeds; ++seed) {
        generated::Random random(static_cast<std::uint32_t>(seed));
        make(random);
        plain.compare(a, b, r);
        generated::Random other(static_cast<std::uint32_t>(seed) + 77777u);
        const redline::CompareOptions settings = DrawnSettings(other());
        make(other);
        drawn.compare(a, b, r, settings);
        generated::Random third(static_cast<std::uint32_t>(seed) + 999u);
        redline::CompareOptions byLetter;
        byLetter.characterLevel = true;
        byLetter.moves = seed % 2;
        make(third, {30, 10});
        letters.compare(a, b, r, byLetter);
    }
    plain.print();
    drawn.print();
    letters.print();
}

void Folder(const std::string& folder, const std::string& scratch) {
    std::vector<std::string> pairs, lone;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".docx") continue;
        if (name.size() > 7 && name.substr(name.size() - 7) == "-a.docx") {
            pairs.push_back(entry.path().string().substr(0, entry.path().string().size() - 7));
        } else if (name.size() <= 7 || name.substr(name.size() - 7) != "-b.docx") {
            lone.push_back(entry.path().string());
        }
    }
    std::sort(pairs.begin(), pairs.end());
    std::sort(lone.begin(), lone.end());
    Family family("folder");
    for (const std::string& pair : pairs) {
        family.compare(pair + "-a.docx", pair + "-b.docx", scratch + "/r.docx");
    }
    for (std::size_t i = 0; i < lone.size(); ++i) {
        family.compare(lone[i], lone[(i + 1) % lone.size()], scratch + "/r.docx");
        family.compare(lone[i], lone[i], scratch + "/r.docx");
    }
    family.print();
    std::printf("           %s\n", folder.c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && std::string(argv[1]) == "--write-generated") {
        // Generated documents for the office to convert: what its conversions make is compared.
        for (int seed = 1; seed <= std::atoi(argv[3]); ++seed) {
            generated::Random random(static_cast<std::uint32_t>(seed) + 4242u);
            generated::WriteGenerated(
                generated::RandomDocument(random, 12),
                std::string(argv[2]) + "/generated" + std::to_string(seed) + ".docx", random);
        }
        return 0;
    }
    int seeds = 300;
    std::vector<std::string> folders;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--seeds" && i + 1 < argc) {
            seeds = std::atoi(argv[++i]);
        } else if (std::string(argv[i]) == "--each") {
            each = true;
        } else if (std::string(argv[i]) == "--keep" && i + 1 < argc) {
            keep = argv[++i];
        } else {
            folders.push_back(argv[i]);
        }
    }
    TemporaryFolder scratch;
    Generated(seeds, scratch.path());
    for (const std::string& folder : folders) Folder(folder, scratch.path());
}
