// The common open-file dialog, shared by both browse buttons: each use sets the file name,
// flags, title and filter, then shows it; a cancelled dialog leaves the file name empty.
#pragma once

#include <cstdint>
#include <string>

class OpenFileDialog {
  public:
    virtual ~OpenFileDialog() = default;
    virtual void setFileName(const std::string& name) = 0;
    virtual std::string fileName() const = 0;
    virtual void setFlags(std::int32_t flags) = 0;
    virtual void setDialogTitle(const std::string& title) = 0;
    // Description and pattern pairs separated by '|': "All Excel Files (*.doc*)|*.doc*|".
    virtual void setFilter(const std::string& filter) = 0;
    // Modal; on return fileName() is the chosen full path, or unchanged when cancelled.
    virtual void ShowOpen() = 0;
};
