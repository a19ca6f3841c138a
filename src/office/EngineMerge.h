// The merge the stand-in for Word performs: each document as a Word 2007+ file (converted by the
// office when it is in another format), compared by our own engine in a folder of its own inside
// the office's private profile.
#pragma once

#include <string>

namespace office {

// A folder for one comparison's files inside `profile`; removed, with all it holds, when it goes.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& profile);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

struct EngineRun {
    std::string originalDocx, revisedDocx, resultDocx;
    // The documents as the user named them, for messages.
    std::string originalName, revisedName;
    std::string author;
    bool formatting = true;
};

// Compares with our engine. Raises DocumentError naming the document that cannot be read, and
// automation::Error when the result cannot be written.
void RunEngine(const EngineRun& run);

}  // namespace office
