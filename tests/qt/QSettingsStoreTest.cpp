#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <future>
#include <thread>

#include "qt/QSettingsStore.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

const std::string kApp = "Meldrisk";
const std::string kSection = "Quorvane Paired Office Paper Examiners Highlighter Deskware";

}  // namespace

TEST(QSettingsStore, EveryTextComesBackExactlyAcrossTwoRuns) {
    QTemporaryDir folder;
    const std::vector<std::string> texts = {
        "",
        "  C:\\Tools\\Samples\\sample1.doc  ",
        "/home/ann/\"quoted\" = a;b #c %d.docx",
        "Übersicht über die café-Ergebnisse ñ 文件.docx",
        "line one\nline two",
        "@Variant(not really)",
        "true",
        "0042",
        std::string(32 * 1024, 'x') + ".docx",
    };
    for (const std::string& text : texts) {
        QSettingsStore(folder.path()).write(kApp, kSection, "Excel File", text);
        // A fresh store object reads what a later run of the program would.
        EXPECT_EQ(QSettingsStore(folder.path()).read(kApp, kSection, "Excel File"), text)
            << text.substr(0, 60);
    }
}

TEST(QSettingsStore, MissingValuesReadAsTheDefaultAndAReadCreatesNothing) {
    QTemporaryDir folder;
    QSettingsStore store(folder.path());
    EXPECT_EQ(store.read(kApp, kSection, "Excel File"), "");
    EXPECT_EQ(store.read(kApp, kSection, "ShowAgain", "0"), "0");
    EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    store.write(kApp, kSection, "Compare With", "/b.doc");
    EXPECT_EQ(store.read(kApp, kSection, "Excel File"), "");
    EXPECT_EQ(store.read(kApp, "Another section", "Compare With"), "");
    EXPECT_EQ(store.read("Another maker", kSection, "Compare With"), "");
    EXPECT_EQ(store.read(kApp, kSection, "Compare With"), "/b.doc");
}

TEST(QSettingsStore, AStoreThatCannotBeWrittenRaisesASettingsError) {
    QTemporaryDir folder;
    // A folder where the settings file belongs: no user, root included, can write it.
    QDir(folder.path()).mkpath(QString::fromStdString(kApp + "/" + kSection + ".conf"));
    QSettingsStore store(folder.path());
    try {
        store.write(kApp, kSection, "Excel File", "/a.doc");
        ADD_FAILURE() << "the write did not fail";
    } catch (const SettingsError& e) {
        EXPECT_NE(std::string(e.what()).find(kSection + ".conf"), std::string::npos);
    }
}

// QSettings reads a file again only when its size or modification time has changed; a
// version of the same size written within one tick of the clock must still look new.
TEST(QSettingsStore, EveryWriteMovesTheFileTimeOnEvenWhenTheClockHasNot) {
    QTemporaryDir folder;
    QSettingsStore store(folder.path());
    store.write(kApp, kSection, "Excel File", "/docs/a-1.doc");
    const QString file =
        folder.path() + QString::fromStdString("/" + kApp + "/" + kSection + ".conf");
    // A version stamped ahead of the clock stands for one written in the same tick.
    const QDateTime ahead = QDateTime::currentDateTimeUtc().addSecs(3600);
    {
        QFile stamp(file);
        ASSERT_TRUE(stamp.open(QIODevice::ReadWrite));
        ASSERT_TRUE(stamp.setFileTime(ahead, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(store.read(kApp, kSection, "Excel File"), "/docs/a-1.doc");
    store.write(kApp, kSection, "Excel File", "/docs/a-2.doc");
    EXPECT_GT(QFileInfo(file).lastModified().toUTC(), ahead);
    EXPECT_EQ(store.read(kApp, kSection, "Excel File"), "/docs/a-2.doc");
}

TEST(QSettingsStore, TwoCopiesWritingAtOnceLeaveAReadableStoreWithALastValue) {
    QTemporaryDir folder;
    const int kWrites = 2000;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const char* tag : {"first", "second"}) {
        auto writer = std::make_unique<QProcess>();
        writer->start(QString(SETTINGS_WRITER), {folder.path(), tag, QString::number(kWrites)});
        ASSERT_TRUE(writer->waitForStarted());
        writers.push_back(std::move(writer));
    }
    // Reads while both write: every read finds a whole value of one of them, or nothing yet.
    QSettingsStore reader(folder.path());
    while (std::any_of(writers.begin(), writers.end(),
                       [](const auto& w) { return w->state() != QProcess::NotRunning; })) {
        const std::string value = reader.read(kApp, "Shared", "Excel File");
        const bool whole =
            value.empty() || value.rfind("first-", 0) == 0 || value.rfind("second-", 0) == 0;
        ASSERT_TRUE(whole) << value;
        for (auto& w : writers) w->waitForFinished(1);
    }
    for (auto& w : writers) {
        ASSERT_EQ(w->exitCode(), 0);
    }
    // The reader that followed along sees the last value written, not one it read before.
    const std::string last = reader.read(kApp, "Shared", "Excel File");
    EXPECT_TRUE(last == "first-" + std::to_string(kWrites) ||
                last == "second-" + std::to_string(kWrites))
        << last;
}

#ifndef _WIN32
// Another copy that holds the store's lock while it keeps writing is busy, not hung: a write
// that waits behind it longer than a hung holder is given still stores its value.
TEST(QSettingsStore, AWriteWaitsAsLongAsAnotherCopyKeepsWritingAndThenStoresItsValue) {
    QTemporaryDir folder;
    QSettingsStore store(folder.path());
    store.write(kApp, kSection, "Word File", "/docs/first.doc");
    const QString file =
        folder.path() + QString::fromStdString("/" + kApp + "/" + kSection + ".conf");
    const int lock = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    auto waiting = std::async(std::launch::async, [&] {
        QSettingsStore second(folder.path());
        second.write(kApp, kSection, "Word File", "/docs/second.doc");
    });
    // Seven seconds of a peer's writes, each moving the file's time on.
    QDateTime stamp = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < 14; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        QFile touched(file);
        ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
        stamp = stamp.addMSecs(500);
        ASSERT_TRUE(touched.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(waiting.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    flock(lock, LOCK_UN);
    ::close(lock);
    EXPECT_NO_THROW(waiting.get());
    EXPECT_EQ(QSettingsStore(folder.path()).read(kApp, kSection, "Word File"), "/docs/second.doc");
}
#endif
