// The pure parts of the directory layer: the tree rebuild and name comparison.

#include <gtest/gtest.h>

#include <cmath>

#include "Directory.h"

using cfb::detail::BalancedTree;

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

struct Walk {
    std::vector<std::uint32_t> order;
    int blackHeight = -1;
    int height = 0;
    bool redRed = false;
    bool unequalBlack = false;
};

// ids are 1000 + position, so position = id - 1000.
void walk(const BalancedTree& tree, std::uint32_t id, int blacks, int depth, bool parentRed,
          Walk& w) {
    if (id == kNone) {
        if (w.blackHeight < 0) {
            w.blackHeight = blacks;
        }
        w.unequalBlack |= w.blackHeight != blacks;
        w.height = std::max(w.height, depth);
        return;
    }
    const auto& node = tree.nodes[id - 1000];
    const bool red = node.color == cfb::detail::kRed;
    w.redRed |= red && parentRed;
    walk(tree, node.left, blacks + !red, depth + 1, red, w);
    w.order.push_back(id);
    walk(tree, node.right, blacks + !red, depth + 1, red, w);
}

TEST(BalanceSequence, EverySizeGivesAValidMinimalRedBlackTreeInTheSameOrder) {
    for (std::uint32_t n = 0; n <= 130; ++n) {
        std::vector<std::uint32_t> ids;
        for (std::uint32_t i = 0; i < n; ++i) {
            ids.push_back(1000 + i);
        }
        const BalancedTree tree = cfb::detail::balanceSequence(ids);
        Walk w;
        walk(tree, tree.root, 0, 0, false, w);
        EXPECT_EQ(w.order, ids) << n;
        EXPECT_FALSE(w.redRed) << n;
        EXPECT_FALSE(w.unequalBlack) << n;
        EXPECT_EQ(w.height, static_cast<int>(std::ceil(std::log2(n + 1.0)))) << n;
        if (n > 0) {
            EXPECT_EQ(tree.nodes[tree.root - 1000].color, cfb::detail::kBlack) << n;
        }
        // Children come before their parents, so writes in this order never form a cycle.
        ASSERT_EQ(tree.postOrder.size(), n);
        std::vector<bool> done(n, false);
        for (std::size_t position : tree.postOrder) {
            for (std::uint32_t link : {tree.nodes[position].left, tree.nodes[position].right}) {
                EXPECT_TRUE(link == kNone || done[link - 1000]) << n;
            }
            done[position] = true;
        }
    }
}

TEST(NameComparison, IgnoresCaseOfSimpleLettersOnly) {
    struct Case {
        std::u16string a, b;
        bool same;
    };
    const Case cases[] = {
        {u"Korworks", u"KORWORKS", true},
        {u"korworks", u"Korworks", true},
        {u"Korworks", u"KorworksCommon", false},
        {u"\u00e9t\u00e9", u"\u00c9T\u00c9", true},  // Latin-1
        {u"\u00ff", u"\u0178", true},                // y with diaeresis
        {u"\u0101", u"\u0100", true},                // Latin Extended-A pair
        {u"\u03b1\u03b2", u"\u0391\u0392", true},    // Greek
        {u"\u0434\u0451", u"\u0414\u0401", true},    // Cyrillic
        {u"\u00f7", u"\u00d7", false},               // division and multiplication signs
        {u"_1", u"_1", true},
        {u"a", u"b", false},
        {u"", u"", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cfb::detail::sameName(c.a, c.b), c.same);
        EXPECT_EQ(cfb::detail::sameName(c.b, c.a), c.same);
    }
}

}  // namespace
