// The comparison settings on Word 97-2003 documents: each pair of the settings table stored as
// .doc by the office and read back as the command line reads it, then held to the same table.
#include "OfficeFixture.h"
#include "support/Docx.h"
#include "support/SettingPairs.h"

TEST_F(OfficeTest, EverySettingChangesWhatItNamesOnWordDocumentsOfTheOlderFormatToo) {
    office::WriterSession session(Headless());
    const std::string folder = folder_->path();
    for (const Respect& respect : Respects()) {
        const std::string a = folder + "/setting-a.docx", b = folder + "/setting-b.docx";
        WriteDocx(a, respect.original, respect.partsA);
        WriteDocx(b, respect.revised, respect.partsB);
        for (const auto& [docx, doc, read] :
             {std::tuple{a, folder + "/setting-a.doc", folder + "/setting-a-read.docx"},
              std::tuple{b, folder + "/setting-b.doc", folder + "/setting-b-read.docx"}}) {
            auto opened = session.open(docx);
            session.store(opened, doc, "MS Word 97");
            session.close(opened);
            session.convert(doc, read);
        }
        EXPECT_EQ(SettingsFailures(folder + "/setting-a-read.docx", folder + "/setting-b-read.docx",
                                   folder + "/setting-r.docx", respect.name),
                  "")
            << respect.name << " (.doc)";
    }
}
