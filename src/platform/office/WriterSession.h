// One private LibreOffice Writer instance, driven over UNO: opens and checks documents, marks
// the differences between two as tracked changes in a new untitled document, shows the result,
// stores it, and quits. Every failure is an automation::Error with a description for the user.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/office/OfficeLimits.h"

namespace office {

struct SessionOptions {
    std::string programDir = LIBREOFFICE_PROGRAM_DIR;
    bool headless = true;
    OfficeLimits limits;
    // The name the tracked changes carry.
    std::string author;
};

// The user's own name for the tracked changes: the account's full name, else its login name.
std::string DefaultAuthor();

struct ChangeCounts {
    int insertions = 0;
    int deletions = 0;
    int other = 0;
};

class WriterSession {
  public:
    class Document;  // an open document of this session
    using DocumentRef = std::shared_ptr<Document>;

    // Starts the office and connects to it.
    explicit WriterSession(SessionOptions options);
    // Quits the office, unless a document was shown: then the office runs on for the user.
    ~WriterSession();
    WriterSession(const WriterSession&) = delete;
    WriterSession& operator=(const WriterSession&) = delete;

    // Opens a Word (or Writer) document hidden and read-only.
    DocumentRef open(const std::string& path);
    // A new untitled document: `revisedPath` with its differences from `original` marked as
    // tracked changes. Neither file changes.
    DocumentRef compare(const DocumentRef& original, const std::string& revisedPath);
    void close(const DocumentRef& document);
    // Shows every open document on the desktop.
    void show();
    void quit();

    ChangeCounts countChanges(const DocumentRef& document);
    // Stores the document under `path` with the office's export filter `filterName`,
    // encrypted when a password is given.
    void store(const DocumentRef& document, const std::string& path, const std::string& filterName,
               const std::string& password = {});

    std::string productName();
    int pid() const;

  private:
    struct Connection;
    void guarded(const char* what, const std::function<void()>& call);

    SessionOptions options_;
    std::unique_ptr<Connection> connection_;
    bool shown_ = false;
    bool ended_ = false;
};

}  // namespace office
