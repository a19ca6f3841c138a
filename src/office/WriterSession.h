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
    void store(const DocumentRef& document, const std::string& path, const std::string& filterName,
               const std::string& password = {}) override;
    std::string productName() override;
    int pid() const override;
    // Whether the office still runs and answers a call within the ping limit; one that hangs
    // is stopped.
    bool answers();

    // The connection to the office (WriterSessionParts.h), for code that drives the office
    // directly; each call into it goes through guarded().
    struct Connection;
    const Connection& connection() const { return *connection_; }
    // Runs a call into the office under the call limit, stopping an office that hangs and
    // reporting a failure as an automation::Error. `doing`: what the office is doing, in the
    // user's words ("opening \"a.doc\"").
    void guarded(const std::string& doing, const std::function<void()>& call);
    void guarded(const std::string& doing, std::chrono::milliseconds limit,
                 const std::function<void()>& call);

  private:
    // Stores an open document as a Word 2007+ file at `docxPath`.
    void storeAsDocx(const DocumentRef& document, const std::string& docxPath);
    std::string author() const;

    SessionOptions options_;
    std::unique_ptr<Connection> connection_;
    bool shown_ = false;
    bool ended_ = false;
};

}  // namespace office
