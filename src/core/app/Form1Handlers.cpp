#include "app/Form1Handlers.h"

#include "app/ApplicationFolder.h"
#include "app/Product.h"
#include "app/StartUpRoutines.h"
#include "app/errors/StepTrap.h"
#include "compare/IsInstalled.h"

Form1Handlers::Form1Handlers(Platform& platform, Form1View& view)
    : platform_(platform),
      view_(view),
      word1_(platform.host, platform.prompts),
      compareCommand_(*this, word1_, platform.prompts),
      rememberedPaths_(platform.settings, platform.prompts) {}

void Form1Handlers::Form_Load() {
    Platform& p = platform_;
    StepTrap trap(p.prompts, kFormLoadLocation);
    trap.step(102, [&] { ApplySkin(view_, p.applicationFolder); });
    const std::string cursor = BelowFolder(p.applicationFolder, kCursorFile);
    if (trap.test(104, [&] { return FileIsPresent(cursor); })) {
        trap.step(106, [&] { view_.setCustomCursor(cursor, ReadCursorFile(cursor)); });
    }
    trap.step(108, [&] { OpenHomePageByChance(p.clock, p.random, p.shell); });
    trap.step(126, [&] { view_.setCaption(kProductName); });
    trap.step(126, [&] { view_.showApplicationIcon(); });
    trap.step(126, [&] { SetApplicationTitle(p.prompts); });
    trap.step(128, [&] {
        view_.Text1().assignText(p.settings.read(kMakerName, kProductName, kFirstPathKey));
    });
    trap.step(130, [&] {
        view_.Text2().assignText(p.settings.read(kMakerName, kProductName, kSecondPathKey));
    });
    trap.step(132, [&] { CheckWordInstalled(p.host, p.prompts, p.end, p.wordIsStandIn); });
}

void Form1Handlers::Form_Unload() {
    platform_.end.endNow(0);
}

void Form1Handlers::PushButton1_Click() {
    StepTrap trap(platform_.prompts, kPushButton1Location);
    trap.step(100, [&] { platform_.prompts.inform(ContactMessage()); });
}

void Form1Handlers::PushButton2_Click() {
    Platform& p = platform_;
    StepTrap trap(p.prompts, kPushButton2Location);
    const std::string sample = BelowFolder(p.applicationFolder, kSampleDocument);
    trap.step(100, [&] { view_.Text1().assignText(sample); });
    trap.step(102, [&] { view_.Text2().assignText(sample); });
    if (!trap.test(104,
                   [&] { return p.prompts.ask(kOpenSamplesQuestion) == Prompts::Answer::Yes; })) {
        return;
    }
    // The folder with its trailing separator, as the shell is handed it.
    trap.step(106, [&] { p.shell.openFolder(BelowFolder(p.applicationFolder, kSamplesFolder)); });
}

void Form1Handlers::PushButton4_Click() {
    BrowseForDocument(platform_.commonDialog, platform_.prompts, kPushButton4Location,
                      view_.Text1());
}

void Form1Handlers::PushButton5_Click() {
    compareCommand_.PushButton5_Click();
}

void Form1Handlers::PushButton6_Click() {
    BrowseForDocument(platform_.commonDialog, platform_.prompts, kPushButton6Location,
                      view_.Text2());
}

void Form1Handlers::Text1_Change() {
    rememberedPaths_.Text1_Change(view_.Text1().currentText());
}

void Form1Handlers::Text2_Change() {
    rememberedPaths_.Text2_Change(view_.Text2().currentText());
}

void Form1Handlers::MouseMove(HoverArea area) {
    const int current = view_.pointerShape();
    if (current == kHourglassPointer) return;
    // Written on every move, whether or not the shape changes.
    view_.setPointerShape(PointerAfterMove(current, area));
}

std::string Form1Handlers::documentToCompare() const {
    return view_.Text1().currentText();
}

std::string Form1Handlers::documentToCompareWith() const {
    return view_.Text2().currentText();
}
