#include <gtest/gtest.h>

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/Program.h"
#include "app/settings/WriteBehindSettingsStore.h"
#include "qt/DocumentPathEdit.h"
#include "qt/Form1Fixture.h"
#include "qt/MessageBoxAnswerer.h"
#include "qt/QSettingsStore.h"
#include "qt/QtOpenFileDialog.h"
#include "qt/QtPrompts.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"
#include "support/ScriptedOpenFileDialog.h"
#include "support/ScriptedServices.h"

namespace {

class PathBoxes : public Form1Fixture {
  protected:
    DocumentPathEdit* box(const char* name) { return control<DocumentPathEdit>(name); }

    // Drags `mime` over the box and drops it, as a file manager would.
    bool drop(DocumentPathEdit* target, QMimeData* mime) {
        const QPointF at(10, 10);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    }
};

}  // namespace

TEST_F(PathBoxes, TypingStoresTheWholeTextAtEveryKeystroke) {
    QTest::keyClicks(box("Text1"), "/a b");
    EXPECT_EQ(settings.writes, (std::vector<std::string>{"Excel File=/", "Excel File=/a",
                                                         "Excel File=/a ", "Excel File=/a b"}));
}

TEST_F(PathBoxes, APickThroughTheSecondBrowseButtonStoresOnlyCompareWith) {
    dialog.picks = {"/home/ann/second file.docx"};
    QTest::mouseClick(form.findChild<QPushButton*>("PushButton6"), Qt::LeftButton);
    EXPECT_EQ(box("Text2")->text(), "/home/ann/second file.docx");
    EXPECT_EQ(box("Text1")->text(), "");
    EXPECT_EQ(settings.writes,
              (std::vector<std::string>{"Compare With=/home/ann/second file.docx"}));
    // Picking the path the box already holds changes nothing and stores nothing.
    dialog.picks = {"/home/ann/second file.docx"};
    QTest::mouseClick(form.findChild<QPushButton*>("PushButton6"), Qt::LeftButton);
    EXPECT_EQ(settings.writes.size(), 1u);
}

TEST_F(PathBoxes, OneDroppedLocalFileFillsTheBoxAndIsStored) {
    QTemporaryDir folder;
    const QString file = folder.filePath("dropped #1.docx");
    QFile(file).open(QIODevice::WriteOnly);
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(file)});
    EXPECT_TRUE(drop(box("Text2"), mime));
    EXPECT_EQ(box("Text2")->text(), file);
    EXPECT_EQ(settings.writes, (std::vector<std::string>{"Compare With=" + file.toStdString()}));
    delete mime;
}

TEST_F(PathBoxes, AnythingButOneLocalFileIsRefused) {
    QTemporaryDir folder;
    const QString a = folder.filePath("a.docx"), b = folder.filePath("b.docx");
    QFile(a).open(QIODevice::WriteOnly);
    QFile(b).open(QIODevice::WriteOnly);
    box("Text1")->assignText("/kept.doc");
    settings.writes.clear();
    std::vector<std::unique_ptr<QMimeData>> refused;
    refused.push_back(std::make_unique<QMimeData>());
    refused.back()->setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    refused.push_back(std::make_unique<QMimeData>());
    refused.back()->setUrls({QUrl("https://example.org/a.docx")});
    refused.push_back(std::make_unique<QMimeData>());
    refused.back()->setUrls({QUrl::fromLocalFile(folder.path())});
    refused.push_back(std::make_unique<QMimeData>());
    refused.back()->setText("some dragged text");
    for (auto& mime : refused) EXPECT_FALSE(drop(box("Text1"), mime.get()));
    EXPECT_EQ(box("Text1")->text(), "/kept.doc");
    EXPECT_TRUE(settings.writes.empty());
}

TEST(QtOpenFileDialog, TheFilterBecomesOneQtNameFilter) {
    EXPECT_EQ(QtOpenFileDialog::NameFilters("All Excel Files (*.doc*)|*.doc*|"),
              QStringList{"All Excel Files (*.doc*)"});
    EXPECT_EQ(QtOpenFileDialog::NameFilters("Text|*.txt|All|*.*"),
              (QStringList{"Text (*.txt)", "All (*.*)"}));
}

TEST(UnwritableSettings, TypingIntoABoxTellsTheUserOnceAndKeepsTheText) {
    QTemporaryDir folder;
    // A folder where the settings file belongs: nobody, root included, can write it.
    QDir(folder.path())
        .mkpath("Meldrisk/Quorvane Paired Office Paper Examiners Highlighter Deskware.conf");
    QSettingsStore disk(folder.path());
    ScriptedPlatform scripted;
    QtPrompts prompts;
    MessageBoxAnswerer answerer;
    Platform* running = nullptr;
    Form1* form = nullptr;
    const int exitCode = RunProgram(
        {scripted.host, prompts, disk, scripted.dialog, scripted.shell, "/nonexistent/app"},
        [&](Platform& platform) {
            running = &platform;
            auto window = std::make_unique<Form1>(platform);
            form = window.get();
            return window;
        },
        [&] {
            auto* text1 = form->findChild<DocumentPathEdit*>("Text1");
            // A read waits for the writer, which has then handed its failure over; delivering
            // the posted events shows any message it causes.
            auto settle = [&] {
                try {
                    running->settings.read("Meldrisk", "x", "y");
                } catch (const SettingsError&) {
                    // The store cannot be read either; the wait for the writer is what counts.
                }
                QCoreApplication::sendPostedEvents();
            };
            QTest::keyClicks(text1, "/ho");
            settle();
            QTest::keyClicks(text1, "me/a.doc");
            settle();
            EXPECT_EQ(text1->text(), "/home/a.doc");
            return 7;
        });
    EXPECT_EQ(exitCode, 7);
    // Start-up reported the store it could not read, one report for each box.
    ASSERT_EQ(answerer.seen.size(), 3u);
    EXPECT_NE(answerer.seen[0].text.find("at line 128"), std::string::npos);
    EXPECT_NE(answerer.seen[1].text.find("at line 130"), std::string::npos);
    EXPECT_NE(answerer.seen[2].text.find("could not be remembered"), std::string::npos);
    EXPECT_EQ(answerer.seen[2].icon, QMessageBox::NoIcon);
}
