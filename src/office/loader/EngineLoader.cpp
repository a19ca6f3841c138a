#include <dlfcn.h>

#include <filesystem>
#include <map>

#include "automation/Error.h"
#include "office/loader/OfficeEngine.h"

namespace office {

namespace {

std::string LoadFailure(const std::string& module, const std::string& why) {
    if (why.find(module) != std::string::npos && why.find("No such file") != std::string::npos) {
        return "The word processor could not be started: its engine " + module +
               " is missing. Install Quorvane again.";
    }
    // The module is there, but what it links against is not: the office's own libraries.
    return "The word processor could not be started: LibreOffice is not installed, or not "
           "completely (install the package libreoffice-writer).";
}

}  // namespace

std::string ProgramFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "." : program.parent_path().string();
}

OfficeEngine& LoadOfficeEngine(const std::string& folder) {
    static std::mutex mutex;
    static std::map<std::string, OfficeEngine*> loaded;
    std::lock_guard lock(mutex);
    if (auto found = loaded.find(folder); found != loaded.end()) return *found->second;
    const std::string module = folder + "/" + kEngineModuleFile;
    // Kept loaded for the life of the program: its objects may be held until the very end.
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        const std::string reason = why ? why : "unknown reason";
        throw automation::Error(LoadFailure(module, reason), reason);
    }
    auto entry = reinterpret_cast<OfficeEngine* (*)()>(dlsym(handle, kEngineEntry));
    if (!entry) {
        throw automation::Error("The word processor could not be started: " + module +
                                " is not Quorvane's engine. Install Quorvane again.");
    }
    OfficeEngine* engine = entry();
    loaded[folder] = engine;
    return *engine;
}

automation::Object EngineHost::create(const std::string& progId) {
    std::lock_guard lock(mutex_);
    if (!host_) host_ = LoadOfficeEngine(folder_).makeHost();
    return host_->create(progId);
}

automation::Object EngineHost::getActive(const std::string& progId) {
    throw automation::Error("No running \"" + progId + "\" was found.");
}

}  // namespace office
