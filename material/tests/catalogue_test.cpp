#include <gtest/gtest.h>

#include "data/ModelCatalogue.h"

namespace material {
namespace {

TEST(ModelCatalogueTest, RowCountsAndNames) {
    const std::size_t counts[kModelTypeCount] = {10, 20, 22, 3, 6, 6, 6, 6, 5, 8, 10, 2, 39};
    for (int type = 0; type < kModelTypeCount; ++type) {
        EXPECT_EQ(ModelRows(type).size(), counts[type]) << type;
    }
    EXPECT_EQ(kModelTypeNames[7], "Tresca Plasticity (isotropic)");
    EXPECT_TRUE(ModelRows(13).empty());
}

TEST(ModelCatalogueTest, ResolveRow) {
    struct Case {
        int type;
        int row;
        PropertySlot slot;
    };
    const Case cases[] = {
        {0, 1, 0},    {0, 10, 14},  {0, 11, kNoSlot},  {0, 0, kNoSlot},  {1, 13, 16},
        {2, 1, 79},   {2, 21, 99},  {2, 22, 13},       {2, 40, 13},      {2, 0, kNoSlot},
        {3, 3, 13},   {7, 4, 3},    {5, 6, 13},        {6, 7, kNoSlot},  {8, 4, 22},
        {9, 2, 31},   {9, 7, 36},   {9, 8, 13},        {10, 5, 26},      {10, 6, 27},
        {10, 10, 13}, {11, 2, 13},  {12, 3, 7},        {12, 4, 37},      {12, 12, 53},
        {12, 19, 60}, {12, 20, 45}, {12, 35, 68},      {12, 36, 117},    {12, 37, 77},
        {12, 38, 78}, {12, 39, 13}, {12, 40, kNoSlot}, {13, 1, kNoSlot}, {-1, 1, kNoSlot},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResolveRow(c.type, c.row), c.slot) << c.type << " row " << c.row;
    }
}

TEST(ModelCatalogueTest, NoTypeUsesTauOrEmptySlots) {
    for (int type = 0; type < kModelTypeCount; ++type) {
        for (PropertySlot s : ModelRows(type)) {
            EXPECT_FALSE(s >= 69 && s <= 76) << type;
            EXPECT_FALSE(s == 100 || (s >= 101 && s <= 116) || s == 118) << type;
        }
    }
}

}  // namespace
}  // namespace material
