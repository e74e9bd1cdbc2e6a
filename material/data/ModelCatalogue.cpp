#include "ModelCatalogue.h"

namespace material {
namespace {

constexpr PropertySlot kEx = 0, kEy = 1, kEz = 2, kEtan = 3, kNuxy = 4, kNuyz = 5, kNuxz = 6;
constexpr PropertySlot kGxy = 7, kGyz = 8, kGxz = 9, kAlpx = 10, kAlpy = 11, kAlpz = 12;
constexpr PropertySlot kDens = 13, kCp = 14, kSigxt = 15, kSigyld = 16, kSigxc = 17;
constexpr PropertySlot kCohesn = 18, kKx = 19, kKy = 20, kKz = 21, kFrcang = 22;
constexpr PropertySlot kReftemp = 117;

template <std::size_t N>
void Append(std::vector<PropertySlot>& rows, const std::array<PropertySlot, N>& group,
            std::size_t count) {
    rows.insert(rows.end(), group.begin(), group.begin() + static_cast<std::ptrdiff_t>(count));
}

std::array<std::vector<PropertySlot>, kModelTypeCount> BuildRows() {
    const SlotTable& g = Slots();
    std::array<std::vector<PropertySlot>, kModelTypeCount> t;
    t[0] = {kEx, kNuxy, kGxy, kDens, kSigxt, kSigxc, kSigyld, kAlpx, kKx, kCp};
    t[1] = {kEx,    kEy,    kEz,     kNuxy, kNuyz, kNuxz, kGxy, kGyz, kGxz, kDens,
            kSigxt, kSigxc, kSigyld, kAlpx, kAlpy, kAlpz, kKx,  kKy,  kKz,  kCp};
    Append(t[2], g.McSlots, 21);
    t[2].push_back(kDens);
    t[3] = {kNuxy, kAlpx, kDens};
    t[4] = {kEx, kNuxy, kSigyld, kEtan, kAlpx, kDens};
    t[5] = t[6] = t[7] = t[4];  // the four plasticity types share one list
    t[8] = {kEx, kNuxy, kCohesn, kFrcang, kDens};
    t[9] = {kNuxy};
    Append(t[9], g.MooneySlots, 6);
    t[9].push_back(kDens);
    t[10] = {kNuxy};
    Append(t[10], g.AlphSlots, 4);
    Append(t[10], g.MuSlots, 4);
    t[10].push_back(kDens);
    t[11] = {kEx, kDens};
    t[12] = {kEx, kNuxy, kGxy};
    Append(t[12], g.GSlots, 8);
    Append(t[12], g.TaugSlots, 8);
    Append(t[12], g.KSlots, 8);
    Append(t[12], g.TaukSlots, 8);
    t[12].insert(t[12].end(), {kReftemp, g.VcSlots[0], g.VcSlots[1], kDens});
    return t;
}

}  // namespace

const std::vector<PropertySlot>& ModelRows(int modelType) {
    static const auto rows = BuildRows();
    static const std::vector<PropertySlot> none;
    if (modelType < 0 || modelType >= kModelTypeCount) {
        return none;
    }
    return rows[static_cast<std::size_t>(modelType)];
}

PropertySlot ResolveRow(int modelType, int row) {
    const std::vector<PropertySlot>& rows = ModelRows(modelType);
    if (row < 1) {
        return kNoSlot;
    }
    if (modelType == 2 && row >= 22) {
        return kDens;
    }
    if (static_cast<std::size_t>(row) > rows.size()) {
        return kNoSlot;
    }
    return rows[static_cast<std::size_t>(row - 1)];
}

}  // namespace material
