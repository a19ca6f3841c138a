// Each library includes only what its layer may: the core nothing but the standard library and
// itself, the engine no office, toolkit or platform header, the office's loader no UNO, and so
// on, so that a header cannot slip in through another library's include paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The libraries by folder below the source root, most specific first.
const std::vector<std::pair<std::string, std::string>> kLibraryFolders = {
    {"src/core", "core"},
    {"src/redline", "redline"},
    {"src/office/loader", "loader"},
    {"src/office", "office"},
    {"src/qt", "qt"},
    {"src/win32", "win32"},
    {"src/com", "com"},
    {"cli", "cli"},
};

// What each library may include: libraries of ours, and kinds of system header.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"core", {"core", "std"}},
    {"redline", {"redline", "std", "pugixml", "libzip", "zlib"}},
    {"loader", {"loader", "core", "redline", "std", "posix", "windows"}},
    {"office", {"office", "loader", "core", "redline", "std", "posix", "uno"}},
    {"qt", {"qt", "loader", "core", "std", "posix", "qt-toolkit"}},
    {"win32", {"win32", "com", "core", "std", "windows"}},
    {"com", {"com", "core", "std", "windows"}},
    {"cli", {"cli", "loader", "core", "com", "redline", "std", "posix", "windows"}},
};

const std::set<std::string> kPosixHeaders = {
    "dlfcn.h", "fcntl.h", "poll.h", "pwd.h", "signal.h", "spawn.h", "stdlib.h", "unistd.h",
};
const std::set<std::string> kWindowsHeaders = {
    "commctrl.h", "commdlg.h", "initguid.h", "io.h",       "oaidl.h",   "objidl.h",
    "oleacc.h",   "olectl.h",  "secext.h",   "shellapi.h", "windows.h",
};

// The library of ours that a quoted include names, seen from `file` (its own folder first).
std::string OwnLibraryOf(const fs::path& root, const fs::path& file, const std::string& target) {
    for (const fs::path& base : {file.parent_path(), root / "src", root / "src" / "core"}) {
        std::error_code error;
        const fs::path found = fs::canonical(base / target, error);
        if (error) continue;
        const std::string relative = found.lexically_relative(root).generic_string();
        for (const auto& [folder, library] : kLibraryFolders) {
            if (relative.starts_with(folder + "/")) return library;
        }
    }
    if (target == "app/Product.h") return "core";  // generated into the build tree
    return "unknown: " + target;
}

std::string SystemKindOf(const std::string& target) {
    if (target.find('.') == std::string::npos && target.find('/') == std::string::npos) {
        return target[0] == 'Q' ? "qt-toolkit" : "std";
    }
    if (target == "pugixml.hpp") return "pugixml";
    if (target == "zip.h") return "libzip";
    if (target == "zlib.h") return "zlib";
    if (kPosixHeaders.count(target) || target.starts_with("sys/")) return "posix";
    if (kWindowsHeaders.count(target)) return "windows";
    for (const char* uno : {"com/sun/star/", "cppuhelper/", "rtl/", "osl/", "sal/", "uno/"}) {
        if (target.starts_with(uno)) return "uno";
    }
    return "unknown: <" + target + ">";
}

std::string LibraryOf(const fs::path& root, const fs::path& file) {
    const std::string relative = file.lexically_relative(root).generic_string();
    for (const auto& [folder, library] : kLibraryFolders) {
        if (relative.starts_with(folder + "/")) return library;
    }
    return "";
}

// The engine shows the rest of the program only the headers at its top (the comparison, its
// settings and changes, the marked-result reader, its errors); its stages' folders are its own.
bool IsEnginesPublicFace(const std::string& target) {
    return target.starts_with("redline/") && target.find('/', 8) == std::string::npos;
}

// Every include in the sources that its library may not make, as "file: include (kind)".
std::vector<std::string> ForbiddenIncludes(const fs::path& root) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<std::string> forbidden;
    for (const char* top : {"src", "cli"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".h" && extension != ".cpp" && extension != ".in") continue;
            const std::string library = LibraryOf(root, entry.path());
            if (library.empty()) continue;
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line);) {
                std::smatch match;
                if (!std::regex_search(line, match, include)) continue;
                const std::string target = match[2];
                const std::string kind = match[1] == "\"" ? OwnLibraryOf(root, entry.path(), target)
                                                          : SystemKindOf(target);
                if (!kAllowed.at(library).count(kind) ||
                    (library != "redline" && kind == "redline" && !IsEnginesPublicFace(target))) {
                    forbidden.push_back(entry.path().lexically_relative(root).string() + ": " +
                                        target + " (" + kind + ")");
                }
            }
        }
    }
    return forbidden;
}

}  // namespace

TEST(Layers, EveryLibraryIncludesOnlyWhatItsLayerMay) {
    const fs::path root = fs::canonical(QUORVANE_SOURCE_DIR);
    const std::vector<std::string> forbidden = ForbiddenIncludes(root);
    std::string all;
    for (const std::string& line : forbidden) all += "  " + line + "\n";
    EXPECT_TRUE(forbidden.empty()) << "includes across the layers:\n" << all;
}

TEST(Layers, TheCheckSeesAPlatformHeaderInTheEngineAndTheCore) {
    // The table itself must refuse what the layers forbid, or the check above proves nothing.
    EXPECT_FALSE(kAllowed.at("redline").count(SystemKindOf("com/sun/star/uno/Any.hxx")));
    EXPECT_FALSE(kAllowed.at("redline").count(SystemKindOf("QString")));
    EXPECT_FALSE(kAllowed.at("core").count(SystemKindOf("windows.h")));
    EXPECT_FALSE(kAllowed.at("core").count(SystemKindOf("pugixml.hpp")));
    EXPECT_FALSE(kAllowed.at("loader").count(SystemKindOf("rtl/ustring.hxx")));
    const fs::path root = fs::canonical(QUORVANE_SOURCE_DIR);
    EXPECT_FALSE(kAllowed.at("redline").count(
        OwnLibraryOf(root, root / "src/redline/Compare.h", "office/loader/DocumentCheck.h")));
    EXPECT_FALSE(kAllowed.at("core").count(
        OwnLibraryOf(root, root / "src/core/app/Program.h", "redline/Compare.h")));
    EXPECT_TRUE(IsEnginesPublicFace("redline/Compare.h"));
    EXPECT_FALSE(IsEnginesPublicFace("redline/io/Package.h"));
}

namespace {

// The engine's stages in the order a comparison runs them; its front files (Compare.cpp,
// Combine.cpp and what only they share) call them all. The headers of the engine's vocabulary
// (changes, errors, the marked result, paths) stand below every stage.
const std::vector<std::string> kEngineFloors = {"io", "read", "align", "write", "parts", "combine"};
const std::set<std::string> kEngineVocabulary = {"Changes.h", "Errors.h", "MarkedResult.h",
                                                 "FilePath.h"};

// The floor of an engine file or include ("redline/read/Story.h", "read/Story.cpp"): its
// stage's place, -1 for the vocabulary, the number of stages for the front.
int EngineFloor(std::string path) {
    if (path.starts_with("redline/")) path = path.substr(8);
    const std::size_t slash = path.find('/');
    if (slash == std::string::npos) {
        return kEngineVocabulary.count(path) ? -1 : static_cast<int>(kEngineFloors.size());
    }
    const auto found = std::find(kEngineFloors.begin(), kEngineFloors.end(), path.substr(0, slash));
    return found == kEngineFloors.end() ? static_cast<int>(kEngineFloors.size())
                                        : static_cast<int>(found - kEngineFloors.begin());
}

// Every include of an engine file that reaches up past its own floor; `seen` counts them all.
std::vector<std::string> UpwardIncludes(const fs::path& engine, int& seen) {
    static const std::regex include(R"re(^\s*#\s*include\s*"(redline/[^"]+)")re");
    std::vector<std::string> upward;
    for (const auto& entry : fs::recursive_directory_iterator(engine)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".h" && extension != ".cpp") continue;
        const std::string file = entry.path().lexically_relative(engine).generic_string();
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            std::smatch match;
            if (!std::regex_search(line, match, include)) continue;
            ++seen;
            if (EngineFloor(match[1]) > EngineFloor(file)) {
                upward.push_back(file + ": " + std::string(match[1]));
            }
        }
    }
    return upward;
}

}  // namespace

TEST(Layers, NoEngineStageIncludesALaterOneOrTheFront) {
    const fs::path engine = fs::canonical(QUORVANE_SOURCE_DIR) / "src" / "redline";
    std::string all;
    int seen = 0;
    for (const std::string& line : UpwardIncludes(engine, seen)) all += "  " + line + "\n";
    EXPECT_EQ(all, "") << "includes reaching up the engine's stages:\n" << all;
    EXPECT_GT(seen, 200);
    // The check itself tells the floors apart.
    EXPECT_GT(EngineFloor("redline/align/Diff.h"), EngineFloor("read/Units.h"));
    EXPECT_GT(EngineFloor("redline/Compare.h"), EngineFloor("write/Writer.h"));
    EXPECT_LT(EngineFloor("redline/Changes.h"), EngineFloor("io/Xml.h"));
}

namespace {

// Attributes, which the stages may spell: only elements are named once.
const std::set<std::string> kAttributeNames = {
    "w:id",    "w:author", "w:date",     "w:type",     "w:name",        "w:val",
    "r:id",    "w:rsid",   "w14:paraId", "w14:textId", "w15:paraId",    "w15:paraIdParent",
    "o:relid", "w:w",      "w:styleId",  "w:instr",    "w:fldCharType", "w:element",
    "w:uri",   "w:char",   "w:font",     "w:initials", "w15:done"};

// Every element that an engine file outside io/, read/ and the writer's marks names by string.
std::vector<std::string> ElementsNamedOutsideTheReader(const fs::path& engine, int& files) {
    static const std::regex literal(
        R"re("((w|m|mc|w14|w15|w16\w*|wp|wp14|a|pic|v|o|wps|wpg):[A-Za-z]+)")re");
    std::vector<std::string> named;
    for (const auto& entry : fs::recursive_directory_iterator(engine)) {
        const std::string file = entry.path().lexically_relative(engine).generic_string();
        const std::string extension = entry.path().extension().string();
        if ((extension != ".h" && extension != ".cpp") || file.starts_with("io/") ||
            file.starts_with("read/") || file.starts_with("write/Marks.")) {
            continue;
        }
        ++files;
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        for (auto at = std::sregex_iterator(text.begin(), text.end(), literal);
             at != std::sregex_iterator(); ++at) {
            if (!kAttributeNames.count((*at)[1]))
                named.push_back(file + ": " + std::string((*at)[1]));
        }
    }
    return named;
}

}  // namespace

TEST(Layers, OnlyIoTheReaderAndTheWritersMarksNameElements) {
    const fs::path engine = fs::canonical(QUORVANE_SOURCE_DIR) / "src" / "redline";
    int files = 0;
    std::string all;
    for (const std::string& line : ElementsNamedOutsideTheReader(engine, files)) {
        all += "  " + line + "\n";
    }
    EXPECT_EQ(all, "") << "elements named by string outside io/, read/ and write/Marks:\n" << all;
    EXPECT_GT(files, 30);
}
