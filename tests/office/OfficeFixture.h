// Shared set-up of the tests that drive the real office: one folder of test documents for the
// whole suite, and sessions that run headless.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "TestDocuments.h"
#include "office/WriterSession.h"

class OfficeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();

    static office::SessionOptions Headless();
    // The ids of the running office processes that this program started.
    static std::set<int> OfficeProcesses();
    // Those of them started since `before` was taken.
    static std::set<int> OfficesSince(const std::set<int>& before);

    static std::unique_ptr<TemporaryFolder> folder_;
    static std::unique_ptr<TestDocuments> docs_;
    // Password-protected copies of the original, as Writer and as Word documents.
    static std::string encryptedOdt_, encryptedDoc_;
};
