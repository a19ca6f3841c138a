#include "compare/Word1.h"

#include "app/errors/StepTrap.h"
#include "automation/WordEnumerations.h"

using automation::NamedArgument;
using automation::Object;
using automation::Variant;

void Word1::CompareDocFiles(std::string first, std::string second) {
    StepTrap trap(prompts_, kCompareDocFilesLocation);
    Object word;
    Object doc;
    trap.step(100, [&] { word = host_.create(kWordProgId); });
    trap.step(102, [&] {
        doc = word.get("Documents").call("Open", {Variant::textByRef(first)}).toObject();
    });
    trap.step(104, [&] { word.put("DisplayAlerts", Variant::int32(wd::kAlertsNone)); });
    trap.step(106, [&] {
        doc.call("Merge", {},
                 {
                     {"filename", Variant::textByRef(second)},
                     {"MergeTarget", Variant::int32(wd::kMergeTargetNew)},
                     {"DetectFormatChanges", Variant::boolean(true)},
                     {"UseFormattingFrom", Variant::int32(wd::kUseFormattingFromPrompt)},
                     {"AddToRecentFiles", Variant::boolean(false)},
                 });
    });
    trap.step(108, [&] { doc.call("Close"); });
    trap.step(110, [&] { word.put("Visible", Variant::boolean(true)); });
    // The instance runs on and belongs to the user; only our references go.
}

bool Word1::ConfirmWordClosed() {
    if (!IsWordRunning()) return false;
    return prompts_.ask(kWordMayBeOpenQuestion) != Prompts::Answer::Yes;
}

bool Word1::IsWordRunning() {
    try {
        Object word = host_.getActive(kWordProgId);
        return word.defaultValue().toText() == "Microsoft Word";
    } catch (...) {
        return false;
    }
}
