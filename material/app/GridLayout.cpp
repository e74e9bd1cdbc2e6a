#include "app/GridLayout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "data/Material.h"
#include "data/ModelCatalogue.h"
#include "data/NumberParser.h"
#include "data/Text.h"
#include "units/PanelTables.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

constexpr int kPlasticityType = 4;
constexpr int kMcType = 2;
constexpr int kViscoelasticType = 12;

constexpr PropertySlot kEx = 0, kEy = 1, kEz = 2, kEtan = 3, kNuxy = 4, kNuyz = 5, kNuxz = 6;
constexpr PropertySlot kGxy = 7, kGyz = 8, kGxz = 9, kAlpx = 10, kAlpy = 11, kAlpz = 12;
constexpr PropertySlot kDens = 13, kCp = 14, kSigxt = 15, kSigyld = 16, kSigxc = 17;
constexpr PropertySlot kCohesn = 18, kKx = 19, kKy = 20, kKz = 21, kFrcang = 22;
constexpr PropertySlot kReftemp = 117;

constexpr std::string_view kGlassTransition = "Glass transition temperature";
constexpr std::string_view kDegrees = "Degrees";
// Temperature units by unit-list position; the slot labels say "Centigrade" instead.
constexpr std::array<std::string_view, 3> kTemperatureUnits = {"Fahrenheit", "Kelvin", "Celsius"};

// Which caption (U0-U11) a unit row shows.
enum Caption { U0 = 0, U1 = 1, U3 = 3, U4 = 4, U5 = 5, U6 = 6, U7 = 7, U8 = 8, U10 = 10, U11 = 11 };

template <std::size_t N>
bool InGroup(const std::array<PropertySlot, N>& group, std::size_t count, PropertySlot slot) {
    return std::find(group.begin(), group.begin() + static_cast<std::ptrdiff_t>(count), slot) !=
           group.begin() + static_cast<std::ptrdiff_t>(count);
}

// The viscoelastic rows whose unit text is the record's own label for the code.
bool IsRelaxationRow(PropertySlot slot) {
    const SlotTable& g = Slots();
    return InGroup(g.GSlots, 8, slot) || InGroup(g.TaugSlots, 8, slot) ||
           InGroup(g.KSlots, 8, slot) || InGroup(g.TaukSlots, 8, slot) ||
           InGroup(g.VcSlots, 2, slot);
}

// The fixed caption of a slot's row, or nullopt for rows with a blank unit.
std::optional<Caption> CaptionOf(int modelType, PropertySlot slot) {
    const SlotTable& g = Slots();
    switch (slot) {
        case kEx:
        case kEy:
        case kEz:
        case kEtan:
        case kCohesn:
            return U0;
        case kNuxy:
            // The hyperelastic types show Poisson's ratio without a unit text at all.
            if (modelType == 9 || modelType == 10) {
                return std::nullopt;
            }
            return U1;
        case kNuyz:
        case kNuxz:
            return U1;
        case kGxy:
        case kGyz:
        case kGxz:
            return U10;
        case kDens:
            return U4;
        case kSigxt:
            return U7;
        case kSigxc:
            return U11;
        case kSigyld:
            return U8;
        case kAlpx:
        case kAlpy:
        case kAlpz:
            return U3;
        case kKx:
        case kKy:
        case kKz:
            return U5;
        case kCp:
            return U6;
        default:
            break;
    }
    if (InGroup(g.MooneySlots, 6, slot) || InGroup(g.MuSlots, 4, slot)) {
        return U0;
    }
    return std::nullopt;  // MC and ALPH rows
}

const std::string& LabelIn(const UnitLabelTable& table, std::string_view system,
                           PropertySlot slot) {
    static const std::string none;
    const auto i = static_cast<std::size_t>(slot);
    if (system == kIps) {
        return table.Ips[i];
    }
    if (system == kSi) {
        return table.Si[i];
    }
    if (system == kMks) {
        return table.Mks[i];
    }
    return none;
}

std::string UnitsOf(int modelType, PropertySlot slot, int unitListPosition,
                    const UnitCaptions& captions, bool haveMaterial) {
    if (slot == kFrcang) {
        return std::string(kDegrees);
    }
    if (slot == kReftemp) {
        return unitListPosition >= 0 && unitListPosition < 3
                   ? std::string(kTemperatureUnits[static_cast<std::size_t>(unitListPosition)])
                   : std::string();
    }
    if (IsRelaxationRow(slot)) {
        const std::string_view system = UnitSystemAtPosition(unitListPosition);
        return LabelIn(haveMaterial ? RecordUnitLabels() : SlotUnitLabels(), system, slot);
    }
    const std::optional<Caption> caption = CaptionOf(modelType, slot);
    return caption ? captions[static_cast<std::size_t>(*caption)] : std::string();
}

int LayoutType(int modelType) {
    return modelType >= 0 && modelType < kModelTypeCount ? modelType : kPlasticityType;
}

}  // namespace

UnitCaptions WindowUnitCaptions(int unitListPosition) {
    UnitCaptions captions;
    const std::string_view system = UnitSystemAtPosition(unitListPosition);
    if (system.empty()) {
        return captions;
    }
    auto panelLabel = [system](int row) -> const std::string& {
        const PanelLabelRow& labels = PanelUnitLabels()[static_cast<std::size_t>(row)];
        return system == kIps ? labels.Ips : system == kSi ? labels.Si : labels.Mks;
    };
    // Labels 1-9 are panel rows 0-8; then label 12 (stress), label 10 (row 9) and
    // label 11 (stress).
    for (int u = 0; u < 9; ++u) {
        captions[static_cast<std::size_t>(u)] = panelLabel(u);
    }
    captions[9] = panelLabel(0);
    captions[10] = panelLabel(9);
    captions[11] = panelLabel(0);
    return captions;
}

std::vector<GridRowLayout> GridRows(int modelType, int unitListPosition,
                                    const UnitCaptions& captions, bool haveMaterial) {
    const int layout = LayoutType(modelType);
    const SlotTable& g = Slots();
    const std::vector<PropertySlot>& slots = ModelRows(layout);
    std::vector<GridRowLayout> rows;
    rows.reserve(slots.size());
    for (std::size_t r = 0; r < slots.size(); ++r) {
        const PropertySlot slot = slots[r];
        const auto i = static_cast<std::size_t>(slot);
        GridRowLayout row;
        row.slot = slot;
        row.code = g.SlotCode[i];
        row.lookupCode =
            layout == kMcType && r < g.McPaddedCodes.size() ? g.McPaddedCodes[r] : g.SlotCode[i];
        row.description = layout == kViscoelasticType && slot == kReftemp
                              ? std::string(kGlassTransition)
                              : g.SlotDescription[i];
        row.units = UnitsOf(layout, slot, unitListPosition, captions, haveMaterial);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string GridValueText(const clsMaterial& material, std::string_view lookupCode,
                          std::string_view displaySystem) {
    const PropertySlot slot = FindSlotByCode(lookupCode);
    if (slot == kNoSlot || !material.HasValue(slot)) {
        return {};
    }
    // Reading a value needs the record's current property; work on a copy so that
    // showing a material never changes it.
    clsMaterial probe(material);
    probe.setProperty(lookupCode);
    const std::string_view from = material.UnitSystem().empty() ? kSi : material.UnitSystem();
    static const clsUnitConversion converter;
    return clsMaterial::WriteValue(converter.ChangeUnits(from, displaySystem, slot, probe.value()));
}

std::string GridValueTooltip(const clsMaterial& material, std::string_view lookupCode) {
    const PropertySlot slot = FindSlotByCode(lookupCode);
    if (slot == kNoSlot || !material.HasValue(slot)) {
        return {};
    }
    const UnitLabelTable& labels = RecordUnitLabels();
    const auto at = static_cast<std::size_t>(slot);
    const std::pair<std::string_view, const std::string*> systems[] = {
        {kIps, &labels.Ips[at]}, {kSi, &labels.Si[at]}, {kMks, &labels.Mks[at]}};
    std::string tip;
    for (const auto& [system, label] : systems) {
        if (!tip.empty()) {
            tip += '\n';
        }
        tip += system;
        tip += ": ";
        tip += text::TrimRight(GridValueText(material, lookupCode, system));
        const std::string_view unit = text::Trim(*label);
        if (!unit.empty()) {
            tip += ' ';
            tip += unit;
        }
    }
    return tip;
}

std::string LocaleNumberText(double value, std::string_view decimalSeparator) {
    if (value == 0.0) {
        value = 0.0;  // no "-0"
    }
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string out(buffer, result.ptr);
    const std::string_view point = decimalSeparator.empty() ? "." : decimalSeparator;
    std::string text;
    for (const char c : out) {
        if (c == '.') {
            text += point;
        } else if (c == 'e') {
            text += 'E';
        } else {
            text += c;
        }
    }
    return text;
}

std::optional<std::string> NumericCellText(std::string_view text, const NumberParser& numbers) {
    const std::optional<double> number = numbers.ParseEntry(text);
    if (!number) {
        return std::nullopt;
    }
    return LocaleNumberText(*number, numbers.decimalSeparator());
}

}  // namespace material
