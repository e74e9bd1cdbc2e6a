// The pure parts of the directory layer: the tree rebuild and name comparison.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

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
        ASSERT_EQ(tree.preOrder.size(), n);
    }
}

// The storage (entry 0) links to `root`; siblings are entries 1..n.
struct Links {
    std::uint32_t root;
    std::map<std::uint32_t, cfb::detail::EntryLinks> siblings;
};

std::uint32_t randomTree(std::mt19937& rng, const std::vector<std::uint32_t>& ids, std::size_t lo,
                         std::size_t hi, Links& links) {
    if (lo >= hi) {
        return kNone;
    }
    const std::size_t at = lo + rng() % (hi - lo);
    const std::uint32_t left = randomTree(rng, ids, lo, at, links);
    const std::uint32_t right = randomTree(rng, ids, at + 1, hi, links);
    links.siblings[ids[at]] = {left, right, kNone, static_cast<std::uint8_t>(rng() % 2), false};
    return ids[at];
}

// The in-order sequence reachable from the storage; false when an entry is reached
// twice (a cycle or a shared entry) or an unused entry is reachable.
bool reachable(const Links& links, std::vector<std::uint32_t>& order) {
    order.clear();
    std::set<std::uint32_t> seen;
    std::vector<std::pair<std::uint32_t, bool>> stack{{links.root, false}};
    while (!stack.empty()) {
        auto [id, expanded] = stack.back();
        stack.pop_back();
        if (id == kNone) {
            continue;
        }
        if (expanded) {
            order.push_back(id);
            continue;
        }
        const auto& l = links.siblings.at(id);
        if (!seen.insert(id).second || l.unused) {
            return false;
        }
        stack.push_back({l.right, false});
        stack.push_back({id, true});
        stack.push_back({l.left, false});
    }
    return true;
}

// Random old trees, every victim, the balanced tree over the rest as the new one and
// several sector sizes: after every write the storage reaches a tree without unused
// entries, at the end exactly the new one, and no sector is written more than twice.
TEST(PlanSectorWrites, EveryWriteLeavesATreeAndTheLastTheNewOne) {
    using cfb::detail::EntryChange;
    using cfb::detail::EntryLinks;
    std::mt19937 rng(7);
    for (std::uint32_t n = 1; n <= 12; ++n) {
        std::vector<std::uint32_t> ids;
        for (std::uint32_t i = 1; i <= n; ++i) {
            ids.push_back(i);
        }
        for (int trial = 0; trial < 30; ++trial) {
            Links old;
            old.root = randomTree(rng, ids, 0, n, old);
            for (std::uint32_t victim : ids) {
                std::vector<std::uint32_t> remaining = ids;
                remaining.erase(remaining.begin() + (victim - 1));
                const BalancedTree tree = cfb::detail::balanceSequence(remaining);
                std::vector<EntryChange> changes;
                changes.push_back(
                    {0, {kNone, kNone, old.root, 1, false}, {kNone, kNone, tree.root, 1, false}});
                changes.push_back(
                    {victim, old.siblings.at(victim), {kNone, kNone, kNone, 1, true}});
                for (std::size_t i = 0; i < remaining.size(); ++i) {
                    const EntryLinks after{tree.nodes[i].left, tree.nodes[i].right, kNone,
                                           tree.nodes[i].color, false};
                    changes.push_back({remaining[i], old.siblings.at(remaining[i]), after});
                }
                for (std::uint32_t perSector : {1u, 2u, 4u}) {
                    SCOPED_TRACE(std::to_string(n) + " victim " + std::to_string(victim) +
                                 " per sector " + std::to_string(perSector));
                    const auto writes = cfb::detail::planSectorWrites(changes, victim, perSector);
                    Links state = old;
                    std::map<std::uint32_t, int> timesWritten;
                    std::vector<std::uint32_t> order;
                    for (const auto& write : writes) {
                        ++timesWritten[write.sector];
                        for (const auto& [id, links] : write.entries) {
                            ASSERT_EQ(id / perSector, write.sector);
                            if (id == 0) {
                                state.root = links.child;
                            } else {
                                state.siblings[id] = links;
                            }
                        }
                        ASSERT_TRUE(reachable(state, order));
                    }
                    EXPECT_EQ(order, remaining);
                    EXPECT_EQ(state.root, tree.root);
                    for (const auto& [sector, times] : timesWritten) {
                        EXPECT_LE(times, 2) << "sector " << sector;
                    }
                }
            }
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
        // Letters whose upper case lies elsewhere: dotless i and long s reach ASCII,
        // so a decoy could match a product name.
        {u"KorvexQu\u0131klet", u"KorvexQuiklet", true},
        {u"\u017fUSTAINABILITY2010FULL", u"SUSTAINABILITY2010FULL", true},
        {u"\u0131", u"\u0130", false},              // capital I with dot stays itself
        {u"\u00b5", u"\u03bc", true},               // micro sign and mu both become capital mu
        {u"\u03c2", u"\u03c3", true},               // final and medial sigma
        {u"\u0561", u"\u0531", true},               // Armenian
        {u"\u1e01", u"\u1e00", true},               // Latin Extended Additional
        {u"\u24d0", u"\u24b6", true},               // circled letters
        {u"\u1f80", u"\u1f88", true},               // Greek with ypogegrammeni
        {u"\u00df", u"SS", false},                  // no one-unit upper case
        {u"\xD801\xDC28", u"\xD801\xDC00", false},  // surrogates compare as units
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
