#include "Material.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "ModelCatalogue.h"
#include "NumberParser.h"
#include "Text.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

constexpr std::size_t kPropertyWidth = 10;
constexpr std::size_t kCodeWidth = 13;
constexpr std::size_t kNameWidth = 30;
constexpr std::size_t kValueWidth = 11;
constexpr std::string_view kSpecificHeat = "C (Cp)";
constexpr std::string_view kLineEnd = "\r\n";

std::size_t At(PropertySlot s) {
    return static_cast<std::size_t>(s);
}

UnitLabelTable BuildRecordLabels() {
    UnitLabelTable t = SlotUnitLabels();
    const SlotTable& g = Slots();
    auto blank = [&t](const auto& group, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const auto s = At(group[i]);
            t.Ips[s] = t.Si[s] = t.Mks[s] = std::string(kBlankLabel);
        }
    };
    blank(g.GSlots, 8);
    blank(g.KSlots, 8);
    blank(g.TaugSlots, 8);
    blank(g.TaukSlots, 8);
    blank(g.TauSlots, 8);
    blank(g.VcSlots, 2);
    return t;
}

// The mantissa digits and decimal exponent of |v| rounded to `digits` significant
// digits from its shortest round-trip form, ties away from zero. Returns the exponent
// of the first digit.
int RoundedDigits(double magnitude, int digits, std::string& mantissa) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(),
                    exponent);
    std::string all;
    for (const char c : text.substr(0, e)) {
        if (c != '.') {
            all += c;
        }
    }
    const auto n = static_cast<std::size_t>(digits);
    const bool roundUp = all.size() > n && all[n] >= '5';
    all.resize(n, '0');
    if (roundUp) {
        std::size_t i = n;
        while (i > 0 && all[i - 1] == '9') {
            all[--i] = '0';
        }
        if (i == 0) {
            all.insert(all.begin(), '1');  // 99999|5 became 100000: one digit more
            all.pop_back();
            ++exponent;
        } else {
            ++all[i - 1];
        }
    }
    mantissa = all;
    return exponent;
}

}  // namespace

const UnitLabelTable& RecordUnitLabels() {
    static const UnitLabelTable table = BuildRecordLabels();
    return table;
}

clsMaterial::clsMaterial(MaterialHost* host) : host_(host) {
    if (host_ != nullptr) {
        unitSystem_ = host_->CurrentUnitSystem();
    }
}

bool clsMaterial::HasValue(PropertySlot nProp) const {
    return nProp >= 0 && nProp < kSlotCount && hasValue_[At(nProp)];
}

void clsMaterial::setHasValue(PropertySlot nProp, bool bval) {
    if (nProp >= 0 && nProp < kSlotCount) {
        hasValue_[At(nProp)] = bval;
    }
}

void clsMaterial::setProperty(std::string_view PROP) {
    std::string_view code = text::Trim(PROP);
    if (code == "C") {
        code = kSpecificHeat;
    }
    property_ = text::PadRight(code, kPropertyWidth);
    PropIndex();
}

void clsMaterial::PropIndex() {
    index_ = FindSlotByCode(property_);
}

double clsMaterial::value() const {
    return index_ == kNoSlot ? 0.0 : values_[At(index_)];
}

void clsMaterial::setValue(double v) {
    if (index_ == kNoSlot) {
        return;
    }
    values_[At(index_)] = v;
    hasValue_[At(index_)] = true;
}

std::string clsMaterial::PropValue() const {
    if (index_ == kNoSlot || !hasValue_[At(index_)]) {
        return {};
    }
    const std::string system = host_ != nullptr ? host_->CurrentUnitSystem() : std::string(kSi);
    return WriteValue(ConvertedValue(index_, system));
}

double clsMaterial::ConvertedValue(PropertySlot slot, std::string_view to) const {
    return converter_.ChangeUnits(kSi, to, slot, values_[At(slot)]);
}

void clsMaterial::ClearAll() {
    for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
        hasValue_[At(s)] = false;
    }
}

std::string clsMaterial::UnitsString() const {
    return index_ == kNoSlot ? std::string(kBlankLabel) : RecordUnitLabels().Ips[At(index_)];
}

const std::string& clsMaterial::GetNthProperty(PropertySlot nProp) {
    static const std::string none;
    if (nProp < 0 || nProp > kLastValueSlot) {
        return none;
    }
    return Slots().SlotCode[At(nProp)];
}

void clsMaterial::ChangeUnits(std::string_view oldUnit, std::string_view newUnit,
                              bool bUserCurUnit) {
    if (unitSystem_.empty()) {
        unitSystem_ = kSi;
    }
    const std::string source = bUserCurUnit ? unitSystem_ : std::string(oldUnit);
    if (newUnit == kIps) {
        GoToIPS(source);
    } else if (newUnit == kSi) {
        GoToSI(source);
    } else if (newUnit == kMks) {
        GoToMKS(source);
    }
    unitSystem_ = newUnit;
}

void clsMaterial::GoToIPS(std::string_view oldUnit) {
    GoTo(kIps, oldUnit);
}
void clsMaterial::GoToSI(std::string_view oldUnit) {
    GoTo(kSi, oldUnit);
}
void clsMaterial::GoToMKS(std::string_view oldUnit) {
    GoTo(kMks, oldUnit);
}

void clsMaterial::GoTo(std::string_view target, std::string_view oldUnit) {
    if (oldUnit == target) {
        return;
    }
    for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
        // Slots without a code cannot be addressed and keep their value.
        if (hasValue_[At(s)] && !GetNthProperty(s).empty()) {
            values_[At(s)] = converter_.ChangeUnits(oldUnit, target, s, values_[At(s)]);
        }
    }
}

void clsMaterial::reset() {
    for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
        if (hasValue_[At(s)]) {
            values_[At(s)] = 0.0;
        }
    }
}

void clsMaterial::FixUpCode() {
    if (text::Trim(code_).empty()) {
        code_ = name_.substr(0, kCodeWidth);
    }
    code_ = text::PadRight(code_, kCodeWidth);
}

void clsMaterial::Save(std::string& out) {
    FixUpCode();
    out += "MATL:";
    out += code_;
    out += ": ";
    // Trailing blanks of the name would push the ":" column out of place.
    out += text::PadRight(text::TrimRight(name_), kNameWidth);
    out += ':';
    out += description_;
    out += kLineEnd;
    for (PropertySlot s = 0; s < kSlotCount; ++s) {
        if (hasValue_[At(s)] && !GetNthProperty(s).empty()) {
            AppendPropertyLine(out, s);
        }
    }
    out += "ENDMATL";
    out += kLineEnd;
}

void clsMaterial::AppendPropertyLine(std::string& out, PropertySlot slot) const {
    const UnitLabelTable& labels = RecordUnitLabels();
    const auto i = At(slot);
    out += text::PadRight(GetNthProperty(slot), kPropertyWidth);
    out += WriteValue(ConvertedValue(slot, kIps));
    out += text::PadRight(labels.Ips[i], kLabelWidth);
    out += "  ";
    out += WriteValue(ConvertedValue(slot, kMks));
    out += text::PadRight(labels.Mks[i], kMksLabelWidth);
    out += "   ";
    out += WriteValue(ConvertedValue(slot, kSi));
    out += text::PadRight(labels.Si[i], kLabelWidth);
    out += kLineEnd;
}

std::string clsMaterial::WriteValue(double dVal) {
    if (std::isnan(dVal)) {
        dVal = 0.0;
    } else if (std::isinf(dVal)) {
        // A conversion can overflow; the field still has to hold a number.
        dVal = std::copysign(std::numeric_limits<double>::max(), dVal);
    }
    std::string out;
    if (dVal == 0.0) {
        out = "0E0";
    } else {
        int digits = 0;
        bool signedExponent = false;  // the "E+" patterns always show the sign
        if (dVal < -1) {
            digits = 5;
            signedExponent = true;
        } else if (dVal < 0) {
            digits = 5;
        } else if (dVal < 1) {
            digits = 6;
        } else if (dVal < 1e10) {
            digits = 7;
        } else if (dVal < 1e11) {
            digits = 6;
        } else {
            digits = 5;
        }
        std::string mantissa;
        const int exponent = RoundedDigits(std::fabs(dVal), digits, mantissa) - (digits - 1);
        if (dVal < 0) {
            out += '-';
        }
        out += mantissa;
        out += 'E';
        if (signedExponent && exponent >= 0) {
            out += '+';
        }
        out += std::to_string(exponent);
    }
    return text::PadRight(out, kValueWidth);
}

bool ValueFitsLibrary(PropertySlot slot, std::string_view system, double value) {
    static const clsUnitConversion converter;
    static const NumberParser plain(".");
    const double si = converter.ChangeUnits(system, kSi, slot, value);
    for (const std::string_view to : {kIps, kSi, kMks}) {
        const double shown = converter.ChangeUnits(kSi, to, slot, si);
        if (!std::isfinite(shown)) {
            return false;
        }
        const std::string field = clsMaterial::WriteValue(shown);
        if (field.size() > kValueWidth || !plain.ParseEntry(field)) {
            return false;  // rounded beyond the largest number, or too wide
        }
    }
    return std::isfinite(si);
}

void clsMaterial::Map(int Row, std::string_view value) {
    if (host_ == nullptr) {
        return;
    }
    const PropertySlot slot = ResolveRow(host_->TypeListPosition(), Row);
    if (slot == kNoSlot) {
        return;
    }
    const int position = CurrentMaterial();
    clsMaterial* target = position < 0 ? nullptr : host_->MaterialAt(position);
    if (target == nullptr) {
        return;
    }
    target->setProperty(GetNthProperty(slot));
    const std::optional<double> entry = host_->Numbers().ParseEntry(value);
    if (!entry) {
        target->ClearValue();
        return;
    }
    const std::string_view display = UnitSystemAtPosition(host_->UnitListPosition());
    target->setValue(converter_.ChangeUnits(display, kSi, slot, *entry));
}

int clsMaterial::CurrentMaterial() const {
    if (host_ == nullptr) {
        return -1;
    }
    const std::optional<MaterialHost::TreeNode> node = host_->SelectedNode();
    if (!node || node->hasChildren || node->isCategory) {
        return -1;
    }
    // A material key ends in four position digits; an empty category's key in blanks.
    const std::string_view key = node->key;
    if (key.size() < 4) {
        return -1;
    }
    const std::string_view digits = key.substr(key.size() - 4);
    int position = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + 4, position);
    return ec == std::errc() && end == digits.data() + 4 ? position : -1;
}

void clsMaterial::ClearValue() {
    if (index_ != kNoSlot) {
        hasValue_[At(index_)] = false;
    }
}

void clsMaterial::CopyAllProperties(const clsMaterial& mat) {
    Copy(mat);
    for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
        const auto i = At(s);
        hasValue_[i] = mat.hasValue_[i];
        if (hasValue_[i]) {
            values_[i] = mat.values_[i];
        }
    }
}

void clsMaterial::Copy(const clsMaterial& mat) {
    category_ = mat.category_;
    name_ = mat.name_;
    code_ = mat.code_;
    description_ = mat.description_;
}

void clsMaterial::CopyProperty(std::string_view PROP, double val) {
    setProperty(PROP);
    setValue(val);
}

}  // namespace material
