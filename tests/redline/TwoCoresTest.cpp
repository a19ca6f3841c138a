// Work done on two cores at once: both pieces run, a failure comes out as it would in turn, the
// key table that the two readers of a comparison share gives one key per text, and the pages one
// thread's trees let go serve another's.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "redline/io/BothAtOnce.h"
#include "redline/io/PagePool.h"
#include "redline/read/Paragraph.h"

TEST(TwoCores, BothPiecesRunAndTheFirstFailureComesOutFirst) {
    bool first = false, second = false;
    redline::BothAtOnce([&] { first = true; }, [&] { second = true; });
    EXPECT_TRUE(first && second);

    auto fails = [](const char* what) { return [what] { throw std::runtime_error(what); }; };
    for (const auto& [a, b, expected] : std::vector<std::tuple<bool, bool, std::string>>{
             {true, true, "first"}, {false, true, "second"}, {true, false, "first"}}) {
        bool ran = false;
        try {
            redline::BothAtOnce(
                [&] {
                    if (a) fails("first")();
                },
                [&] {
                    ran = true;
                    if (b) fails("second")();
                });
            ADD_FAILURE() << "nothing raised";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), expected);
        }
        EXPECT_TRUE(ran) << "the second piece ran even when the first failed";
    }
}

TEST(TwoCores, ASharedKeyTableGivesOneKeyPerTextToBothReaders) {
    redline::KeyTable table;
    std::vector<std::uint32_t> keysA(20000), keysB(20000);
    {
        redline::KeyTable::Shared shared(table);
        redline::BothAtOnce(
            [&] {
                for (std::size_t i = 0; i < keysA.size(); ++i)
                    keysA[i] = table.key("word" + std::to_string(i % 5000));
            },
            [&] {
                for (std::size_t i = 0; i < keysB.size(); ++i)
                    keysB[i] = table.key("word" + std::to_string((i * 7) % 5000));
            });
    }
    std::set<std::uint32_t> distinct;
    for (std::size_t i = 0; i < keysA.size(); ++i) {
        ASSERT_EQ(keysA[i], table.key("word" + std::to_string(i % 5000)));
        ASSERT_EQ(keysB[i], table.key("word" + std::to_string((i * 7) % 5000)));
        distinct.insert(keysA[i]);
    }
    EXPECT_EQ(distinct.size(), 5000u);
    EXPECT_EQ(table.key("a word never seen"), 5001u);
}

namespace {

// A tree of many elements, so that it takes many pages.
void Grow(pugi::xml_document& document) {
    pugi::xml_node body = document.append_child("w:body");
    for (int i = 0; i < 20000; ++i) body.append_child("w:p").append_child("w:r");
}

}  // namespace

TEST(TwoCores, PagesLetGoOnOneThreadServeTheTreesOfAnother) {
    // A tree made before the pool lent pages is let go as well, through malloc's own free().
    auto before = std::make_unique<pugi::xml_document>();
    Grow(*before);
    redline::SharePages();
    before.reset();
    redline::ReleasePages();
    std::thread([] {
        pugi::xml_document document;
        Grow(document);
    }).join();
    const std::size_t pooled = redline::PooledPages();
    EXPECT_GT(pooled, 10u);
    {
        pugi::xml_document document;
        Grow(document);
        EXPECT_LT(redline::PooledPages(), pooled / 4);  // taken again, not malloc's anew
    }
    redline::ReleasePages();
    EXPECT_EQ(redline::PooledPages(), 0u);
}
