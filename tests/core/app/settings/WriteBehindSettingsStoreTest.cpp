#include <gtest/gtest.h>

#include "app/settings/WriteBehindSettingsStore.h"
#include "support/MemorySettingsStore.h"

namespace {
const std::string kApp = "Meldrisk", kSection = "Section";
}

TEST(WriteBehindSettingsStore, ReadsSeeEveryWriteAndTheLastValueAlwaysLands) {
    MemorySettingsStore disk;
    WriteBehindSettingsStore store(disk);
    for (int i = 0; i < 1000; ++i) store.write(kApp, kSection, "Excel File", std::to_string(i));
    store.write(kApp, kSection, "Compare With", "/b.doc");
    EXPECT_EQ(store.read(kApp, kSection, "Excel File"), "999");
    EXPECT_EQ(store.read(kApp, kSection, "Compare With"), "/b.doc");
    EXPECT_EQ(store.read(kApp, kSection, "ShowAgain", "0"), "0");
    // Superseded values may be skipped, but what reached the disk came in the order written.
    ASSERT_FALSE(disk.writes.empty());
    EXPECT_EQ(disk.writes.back(), "Compare With=/b.doc");
}

TEST(WriteBehindSettingsStore, NothingPendingIsLostWhenTheStoreGoes) {
    MemorySettingsStore disk;
    {
        WriteBehindSettingsStore store(disk);
        store.write(kApp, kSection, "Excel File", "/last.doc");
    }
    EXPECT_EQ(disk.read(kApp, kSection, "Excel File"), "/last.doc");
}

TEST(WriteBehindSettingsStore, AFailedWriteIsRaisedAtTheNextWriteUntilOneSucceeds) {
    MemorySettingsStore disk;
    WriteBehindSettingsStore store(disk);
    disk.refuseWrites = true;
    EXPECT_NO_THROW(store.write(kApp, kSection, "Excel File", "/a"));
    store.flush();
    EXPECT_THROW(store.write(kApp, kSection, "Excel File", "/ab"), SettingsError);
    store.flush();
    EXPECT_THROW(store.write(kApp, kSection, "Excel File", "/abc"), SettingsError);
    store.flush();
    disk.refuseWrites = false;
    // The value that failed is written again with the next change, which then succeeds.
    EXPECT_THROW(store.write(kApp, kSection, "Excel File", "/abcd"), SettingsError);
    store.flush();
    EXPECT_NO_THROW(store.write(kApp, kSection, "Excel File", "/abcde"));
    EXPECT_EQ(store.read(kApp, kSection, "Excel File"), "/abcde");
}
