#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestDocuments.h"
#include "office/FileUrl.h"
#include "office/OfficeProcess.h"
#include "office/loader/DocumentCheck.h"

using office::DocumentProblem;

TEST(FileUrlFromPath, EncodesWhatAUrlPathCannotHoldAsItIs) {
    EXPECT_EQ(office::FileUrlFromPath("/home/ann/report-1_v2.~docx"),
              "file:///home/ann/report-1_v2.~docx");
    EXPECT_EQ(office::FileUrlFromPath("/a b/#1 100% sure?.docx"),
              "file:///a%20b/%231%20100%25%20sure%3F.docx");
    EXPECT_EQ(office::FileUrlFromPath("/Übersicht/café.doc"),
              "file:///%C3%9Cbersicht/caf%C3%A9.doc");
    EXPECT_EQ(office::FileUrlFromPath("/x/a;b=c&d+e'f\"g"), "file:///x/a%3Bb=c&d+e'f%22g");
}

TEST(AbsolutePath, RelativePathsAreTakenFromTheCurrentFolder) {
    EXPECT_EQ(office::AbsolutePath("/already/absolute.doc"), "/already/absolute.doc");
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(office::AbsolutePath("sub/file.doc"), here + "/sub/file.doc");
    EXPECT_EQ(office::AbsolutePath(" lead.doc"), here + "/ lead.doc");
    EXPECT_EQ(office::AbsolutePath("sub/../up.doc"), here + "/up.doc");
}

TEST(CheckOnDisk, TellsMissingFolderEmptyAndGoodFilesApart) {
    TemporaryFolder folder;
    const std::string good = folder.path() + "/good.docx", empty = folder.path() + "/empty.docx";
    WriteFile(good, "PK\x03\x04 rest");
    WriteFile(empty, "");
    EXPECT_EQ(office::CheckOnDisk(folder.path() + "/none.docx"), DocumentProblem::NotFound);
    EXPECT_EQ(office::CheckOnDisk(""), DocumentProblem::NotFound);
    EXPECT_EQ(office::CheckOnDisk(folder.path()), DocumentProblem::Folder);
    EXPECT_EQ(office::CheckOnDisk(empty), DocumentProblem::Empty);
    EXPECT_EQ(office::CheckOnDisk(good), std::nullopt);
}

TEST(LooksLikeDocumentFile, KnowsTheSignaturesOfDocumentFormats) {
    TemporaryFolder folder;
    const std::vector<std::pair<std::string, bool>> cases = {
        {std::string("PK\x03\x04", 4) + "zip", true},
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "ole", true},
        {"{\\rtf1 hello}", true},
        {"<?xml version=\"1.0\"?>", true},
        {"\x89PNG\r\n\x1a\n", false},
        {"Just words.", false},
        {"PK", false},
    };
    for (const auto& [bytes, expected] : cases) {
        const std::string path = folder.path() + "/f";
        WriteFile(path, bytes);
        EXPECT_EQ(office::LooksLikeDocumentFile(path), expected) << bytes;
    }
}

TEST(DescribeProblem, NamesTheFileInEveryDescription) {
    for (auto problem :
         {DocumentProblem::NotFound, DocumentProblem::Folder, DocumentProblem::Empty,
          DocumentProblem::Unreadable, DocumentProblem::NotWordDocument, DocumentProblem::Damaged,
          DocumentProblem::PasswordProtected, DocumentProblem::OldWordFormat,
          DocumentProblem::TooLarge, DocumentProblem::TwoBodies, DocumentProblem::StrictOpenXml}) {
        EXPECT_NE(office::DescribeProblem(problem, "/d/x y.doc").find("\"/d/x y.doc\""),
                  std::string::npos);
    }
    EXPECT_EQ(office::DescribeProblem(DocumentProblem::TooLarge, "big.docx", 512),
              "The document \"big.docx\" is too large to compare: more than 512 MB when "
              "unpacked.");
}

TEST(RemoveStaleProfiles, RemovesOnlyProfilesWhoseOfficeHasEnded) {
    TemporaryFolder root;
    const std::string ended = root.path() + "/office-ended",
                      running = root.path() + "/office-running",
                      starting = root.path() + "/office-starting", other = root.path() + "/keep-me";
    for (const auto& folder : {ended, running, starting, other})
        std::filesystem::create_directory(folder);
    WriteFile(ended + "/pid", "999999999");  // no such process
    WriteFile(running + "/pid", std::to_string(getpid()));
    WriteFile(other + "/pid", "999999999");
    office::RemoveStaleProfiles(root.path());
    EXPECT_FALSE(std::filesystem::exists(ended));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(starting)) << "a profile still being set up has no pid yet";
    EXPECT_TRUE(std::filesystem::exists(other));
}

TEST(CheckContainer, KnowsAnEncryptedPackageAndTheMarksOfOldWordFormats) {
    const std::string data = QUORVANE_SOURCE_DIR "/tests/office/data/";
    const std::string sample = QUORVANE_SOURCE_DIR "/assets/Samples/sample1.doc";
    EXPECT_EQ(office::CheckContainer(data + "encrypted.docx"), DocumentProblem::PasswordProtected);
    EXPECT_EQ(office::CheckContainer(sample), std::nullopt);
    EXPECT_EQ(office::CheckContainer(data + "word2.doc"), std::nullopt);
    EXPECT_TRUE(office::LooksLikeOldWordFormat(data + "word6.doc"));
    EXPECT_TRUE(office::LooksLikeOldWordFormat(data + "word2.doc"));
    EXPECT_FALSE(office::LooksLikeOldWordFormat(sample));
    EXPECT_FALSE(office::LooksLikeOldWordFormat(data + "encrypted.docx"));
    // A container cut short, or pointing past its end, is simply not one.
    TemporaryFolder folder;
    const std::string whole = ReadFile(sample);
    for (std::size_t length : {std::size_t{8}, std::size_t{600}, whole.size() / 3}) {
        WriteFile(folder.path() + "/cut.doc", whole.substr(0, length));
        EXPECT_FALSE(office::LooksLikeOldWordFormat(folder.path() + "/cut.doc")) << length;
        EXPECT_EQ(office::CheckContainer(folder.path() + "/cut.doc"), std::nullopt) << length;
    }
}
