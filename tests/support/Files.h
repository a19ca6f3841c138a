// Files for tests: a temporary folder that goes with everything in it, and whole-file reads and
// writes.
#pragma once

#include <string>

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};
