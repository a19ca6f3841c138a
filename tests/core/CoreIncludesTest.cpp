// The core is plain C++20: every header it includes is the standard library's or its own, so
// that no toolkit, office or Windows header can slip in through a platform's include paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::set<std::string> kStandardHeaders = {
    "algorithm",     "any",           "array",
    "atomic",        "bit",           "cassert",
    "cctype",        "cerrno",        "charconv",
    "chrono",        "climits",       "cmath",
    "compare",       "concepts",      "condition_variable",
    "cstddef",       "cstdint",       "cstdio",
    "cstdlib",       "cstring",       "ctime",
    "deque",         "exception",     "filesystem",
    "fstream",       "functional",    "initializer_list",
    "iomanip",       "ios",           "iosfwd",
    "iostream",      "istream",       "iterator",
    "limits",        "list",          "map",
    "memory",        "mutex",         "numeric",
    "optional",      "ostream",       "random",
    "ranges",        "regex",         "set",
    "span",          "sstream",       "stdexcept",
    "string",        "string_view",   "system_error",
    "thread",        "tuple",         "type_traits",
    "unordered_map", "unordered_set", "utility",
    "variant",       "vector",
};

bool Inside(const fs::path& folder, const fs::path& file) {
    std::error_code error;
    const fs::path real = fs::canonical(file, error);
    if (error) return false;
    const fs::path relative = real.lexically_relative(fs::canonical(folder));
    return !relative.empty() && *relative.begin() != "..";
}

// Every include of every core file whose target is neither a standard header nor a file of the
// core itself (or the generated product header), as "file: include".
std::vector<std::string> ForeignIncludes(const fs::path& core) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<std::string> foreign;
    for (const auto& entry : fs::recursive_directory_iterator(core)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".h" && extension != ".cpp" && extension != ".in") continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            std::smatch match;
            if (!std::regex_search(line, match, include)) continue;
            const std::string target = match[2];
            const bool own =
                match[1] == "\"" &&
                (Inside(core, core / target) || Inside(core, entry.path().parent_path() / target) ||
                 target == "app/Product.h");
            const bool standard = match[1] == "<" && kStandardHeaders.count(target);
            if (!own && !standard) {
                foreign.push_back(fs::relative(entry.path(), core).string() + ": " + target);
            }
        }
    }
    return foreign;
}

}  // namespace

TEST(Core, IncludesOnlyTheStandardLibraryAndItself) {
    const fs::path core = fs::path(QUORVANE_SOURCE_DIR) / "src" / "core";
    ASSERT_TRUE(fs::is_directory(core)) << core;
    const std::vector<std::string> foreign = ForeignIncludes(core);
    EXPECT_TRUE(foreign.empty()) << "the core reaches outside itself:\n"
                                 << [&] {
                                        std::string all;
                                        for (const std::string& line : foreign)
                                            all += "  " + line + "\n";
                                        return all;
                                    }();
}
