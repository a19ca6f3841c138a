// One private LibreOffice Writer instance, driven over UNO: the engine behind every comparison
// session on Linux.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "office/loader/ComparisonSession.h"

namespace office {

class WriterSession : public ComparisonSession {
  public:
    // Starts the office and connects to it.
    explicit WriterSession(SessionOptions options);
    // Quits the office, unless a document was shown: then the office runs on for the user.
    ~WriterSession() override;
    WriterSession(const WriterSession&) = delete;
    WriterSession& operator=(const WriterSession&) = delete;

    DocumentRef open(const std::string& path) override;
    DocumentRef compare(const DocumentRef& original, const std::string& revisedPath,
                        bool formatting = true) override;
    void convert(const std::string& path, const std::string& docxPath) override;
    void close(const DocumentRef& document) override;
    void show() override;
    void quit() override;
    ChangeCounts countChanges(const DocumentRef& document) override;
    void store(const DocumentRef& document, const std::string& path, const std::string& filterName,
               const std::string& password = {}) override;
    std::string productName() override;
    // The document's text as the office has it: paragraphs end in "\n", table cells in "\t"
    // and rows in "\n"; then each note, header, footer and text box that holds any text, under a
    // title line. For checks that the office reads what our engine wrote.
    std::string text(const DocumentRef& document);
    // Accepts, or rejects, every tracked change of the document with the office's own command.
    void resolveAll(const DocumentRef& document, bool accept);
    int pid() const override;
    // Whether the office still runs and answers a call within the ping limit; one that hangs
    // is stopped.
    bool answers();

  private:
    struct Connection;
    // The file our engine reads for an open document, or for one on disk: the file itself when
    // it is a Word 2007+ document, else the office's conversion of it to `docxPath`.
    std::string asDocx(const DocumentRef& document, const std::string& docxPath);
    std::string asDocx(const std::string& path, const std::string& docxPath);
    std::string author() const;
    // `doing`: what the office is doing, in the user's words ("opening \"a.doc\"").
    void guarded(const std::string& doing, const std::function<void()>& call);
    void guarded(const std::string& doing, std::chrono::milliseconds limit,
                 const std::function<void()>& call);

    SessionOptions options_;
    std::unique_ptr<Connection> connection_;
    bool shown_ = false;
    bool ended_ = false;
};

}  // namespace office
