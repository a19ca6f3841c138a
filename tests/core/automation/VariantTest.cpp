#include <gtest/gtest.h>

#include "automation/Error.h"
#include "automation/Object.h"

using automation::Object;
using automation::Variant;

TEST(Variant, AutomationBooleanTrueHasEveryBitSet) {
    EXPECT_EQ(Variant::boolean(true).rawBoolean(), -1);
    EXPECT_EQ(Variant::boolean(false).rawBoolean(), 0);
    EXPECT_TRUE(Variant::boolean(true).toBool());
    EXPECT_EQ(Variant::boolean(true).type(), Variant::Type::Boolean);
}

TEST(Variant, TextByReferenceIsTextWithTheFlagAndDiffersFromByValue) {
    const Variant byRef = Variant::textByRef("a b.doc");
    EXPECT_EQ(byRef.type(), Variant::Type::Text);
    EXPECT_TRUE(byRef.isByRef());
    EXPECT_EQ(byRef.toText(), "a b.doc");
    EXPECT_FALSE(Variant::text("a b.doc").isByRef());
    EXPECT_NE(byRef, Variant::text("a b.doc"));
    EXPECT_NE(Variant::int32(1), Variant::boolean(true));
}

TEST(Variant, ConversionToAnotherTypeRaisesAnAutomationError) {
    EXPECT_THROW(Variant::int32(2).toText(), automation::Error);
    EXPECT_THROW(Variant::text("1").toInt32(), automation::Error);
    EXPECT_THROW(Variant().toBool(), automation::Error);
    EXPECT_THROW(Variant::text("x").call("Open"), automation::Error);
}

TEST(Variant, AnEmptyObjectBecomesAnEmptyValue) {
    EXPECT_TRUE(Variant::object(Object()).isEmpty());
}

TEST(Object, EveryMemberOfAnEmptyHandleSaysTheReferenceIsNotSet) {
    const Object empty;
    const std::vector<std::function<void()>> uses = {
        [&] { empty.get("Documents"); },
        [&] { empty.put("Visible", Variant::boolean(true)); },
        [&] { empty.call("Close"); },
        [&] { empty.defaultValue(); },
    };
    for (const auto& use : uses) {
        try {
            use();
            ADD_FAILURE() << "no error raised";
        } catch (const automation::Error& e) {
            EXPECT_EQ(e.description(), automation::kObjectNotSet);
        }
    }
}

TEST(Object, NamesMatchWithoutRegardToCase) {
    EXPECT_TRUE(automation::sameName("filename", "FileName"));
    EXPECT_TRUE(automation::sameName("DISPLAYALERTS", "DisplayAlerts"));
    EXPECT_FALSE(automation::sameName("Close", "Closed"));
    EXPECT_FALSE(automation::sameName("Open", "Opem"));
}
