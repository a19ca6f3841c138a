// The office's start is the one slow part of a comparison, so it is paid while the user is still
// choosing documents: a session is started on a thread of its own as soon as "Word.Application"
// is created, and an office that was never given a document is kept warm for the next creation.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "automation/Error.h"
#include "office/WriterSession.h"

namespace office {

// A session being started in the background; the first use waits for it.
class StartingSession {
  public:
    explicit StartingSession(SessionOptions options);
    // Waits for the start to end; the session goes with this object.
    ~StartingSession();
    StartingSession(const StartingSession&) = delete;
    StartingSession& operator=(const StartingSession&) = delete;

    // The session once it has started; raises the start's failure, every time it is asked.
    WriterSession& session();
    // Whether the session has started, or its start has failed.
    bool settled() const;
    // Whether it has started and its office still answers.
    bool healthy();

  private:
    mutable std::mutex mutex_;
    std::condition_variable settled_;
    std::unique_ptr<WriterSession> session_;
    std::optional<automation::Error> failure_;
    bool done_ = false;
    std::thread starter_;
};

// The program's one warm office: started ahead of need, kept while unused for up to the idle
// limit, replaced when it died behind our back, and quit with the program.
class WarmOffice {
  public:
    explicit WarmOffice(SessionOptions options);
    ~WarmOffice();
    WarmOffice(const WarmOffice&) = delete;
    WarmOffice& operator=(const WarmOffice&) = delete;

    // The warm session, or a new one being started when there is none to give.
    std::shared_ptr<StartingSession> take();
    // Keeps a session that was never given a document as the warm one; when one is kept
    // already, this one quits.
    void park(std::shared_ptr<StartingSession> session);
    // Starts the next warm office in the background, unless one is kept.
    void prepare();
    // Lets a session that is done with go in the background: quitting an office takes a moment
    // that nobody needs to wait for.
    void retire(std::shared_ptr<StartingSession> session);
    // Waits until the kept office, if any, has started (for benchmarks and tests).
    void waitUntilSettled();
    bool holdsOne() const;

  private:
    // The background thread: ends the warm office at the idle limit and lets retired ones go.
    void watchIdleTime();

    SessionOptions options_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::shared_ptr<StartingSession> kept_;
    std::vector<std::shared_ptr<StartingSession>> retiring_;
    std::chrono::steady_clock::time_point keptSince_;
    bool stopping_ = false;
    std::thread idleWatch_;
};

}  // namespace office
