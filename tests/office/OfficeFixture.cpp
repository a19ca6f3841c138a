#include "OfficeFixture.h"

#include <filesystem>
#include <fstream>

#include "office/OfficeProcess.h"

std::unique_ptr<TemporaryFolder> OfficeTest::folder_;
std::unique_ptr<TestDocuments> OfficeTest::docs_;
std::string OfficeTest::encryptedOdt_;
std::string OfficeTest::encryptedDoc_;

void OfficeTest::SetUpTestSuite() {
    if (docs_) return;
    folder_ = std::make_unique<TemporaryFolder>();
    docs_ = std::make_unique<TestDocuments>(folder_->path());
    office::WriterSession session(Headless());
    auto original = session.open(docs_->originalDocx);
    encryptedOdt_ = folder_->path() + "/locked.odt";
    encryptedDoc_ = folder_->path() + "/locked.doc";
    session.store(original, encryptedOdt_, "writer8", "secret");
    session.store(original, encryptedDoc_, "MS Word 97", "secret");
}

office::SessionOptions OfficeTest::Headless() {
    office::SessionOptions options;
    options.headless = true;
    options.author = "Test Author";
    return options;
}

std::set<int> OfficeTest::OfficesSince(const std::set<int>& before) {
    std::set<int> added;
    for (int pid : OfficeProcesses()) {
        if (!before.count(pid)) added.insert(pid);
    }
    return added;
}

std::set<int> OfficeTest::OfficeProcesses() {
    std::set<int> running;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(office::ProfileRoot(), error)) {
        int pid = 0;
        if ((std::ifstream(entry.path() / "pid") >> pid) && office::ProcessRunning(pid)) {
            running.insert(pid);
        }
    }
    return running;
}
