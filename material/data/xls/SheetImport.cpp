#include "SheetImport.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace material {
namespace {

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(word[i]);
        if (std::tolower(a) != std::tolower(b)) {
            return false;
        }
    }
    return true;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Code points of the Windows-1252 bytes 0x80-0x9F; 0 where the code page leaves the byte
// undefined (such bytes are carried as the C1 control of the same number).
constexpr char16_t kHighBytes[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char singleByte(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(codePoint);
    }
    for (std::size_t i = 0; i < 32; ++i) {
        if (kHighBytes[i] == codePoint || (kHighBytes[i] == 0 && codePoint == 0x80 + i)) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

// The number of bytes of a UTF-8 sequence that starts with `lead`; 0 for a byte that
// cannot start one.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// A cell's UTF-8 text in the single-byte code page the library keeps its texts in, so
// that "Stahl Ä" is shown and saved as it was typed; characters the code page cannot
// hold, and broken sequences, become "?".
std::string libraryText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = sequenceLength(lead);
        if (length == 0 || i + length > utf8.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = valid && (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += singleByte(codePoint);
        i += length;
    }
    return out;
}

// A number in a text column reads as it would be shown: up to 15 significant digits,
// with an exponent only for very large or small values ("4340", "1E+15").
std::string numberText(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

class SheetReader {
  public:
    SheetReader(const SheetCellSource& cells, const SheetNumberParser& parse)
        : cells_(cells), parse_(parse) {}

    SheetImport run() {
        for (std::uint32_t row = 1; error_.empty(); ++row) {
            if (row > kMaxSheetRows) {
                fail(row, "more than 32767 rows before the \"End\" row");
            } else if (row > cells_.rowCount()) {
                fail(row, "the sheet ends without an \"End\" row");
            } else if (!readRow(row)) {
                break;
            }
        }
        if (!error_.empty()) {
            return {{}, error_};
        }
        return {std::move(materials_), {}};
    }

  private:
    // False once the "End" row is reached.
    bool readRow(std::uint32_t row) {
        const SheetCell first = cells_.cell(row, 1);
        if (first.kind == SheetCell::Kind::Unreadable) {
            fail(row, "column 1 cannot be read");
        } else if (first.kind != SheetCell::Kind::Text) {
            addValue(row, first);
        } else if (equalsIgnoringCase(first.text, "End")) {
            return false;
        } else if (equalsIgnoringCase(trimBlanks(first.text), "Name")) {
            startMaterial(row);
        } else if (equalsIgnoringCase(trimBlanks(first.text), "Type")) {
            setCategory(row);
        } else {
            addValue(row, first);
        }
        return true;
    }

    void startMaterial(std::uint32_t row) {
        if (materials_.size() == kMaxSheetMaterials) {
            fail(row, "more than 1001 materials");
            return;
        }
        if (auto name = columnTwoText(row)) {
            materials_.push_back({std::move(*name), {}, {}});
        }
    }

    void setCategory(std::uint32_t row) {
        if (materials_.empty()) {
            fail(row, "\"Type\" row before the first \"Name\" row");
            return;
        }
        if (auto category = columnTwoText(row)) {
            materials_.back().categoryKey = std::move(*category);
        }
    }

    void addValue(std::uint32_t row, const SheetCell& cell) {
        if (materials_.empty()) {
            fail(row, "value row before the first \"Name\" row");
            return;
        }
        auto& material = materials_.back();
        if (material.values.size() == kMaxSheetValues) {
            fail(row, "more than eleven values for material " + material.nameText);
            return;
        }
        if (cell.kind == SheetCell::Kind::Text) {
            const auto value = parse_ ? parse_(cell.text) : parsePlainNumber(cell.text);
            if (!value) {
                fail(row, "value \"" + libraryText(cell.text) + "\" is not a number");
                return;
            }
            material.values.push_back(*value);
        } else {
            material.values.push_back(cell.kind == SheetCell::Kind::Number ? cell.number : 0.0);
        }
    }

    std::optional<std::string> columnTwoText(std::uint32_t row) {
        SheetCell cell = cells_.cell(row, 2);
        switch (cell.kind) {
            case SheetCell::Kind::Text:
                return libraryText(cell.text);
            case SheetCell::Kind::Number:
                return numberText(cell.number);
            case SheetCell::Kind::Empty:
                return std::string();
            case SheetCell::Kind::Unreadable:
                break;
        }
        fail(row, "column 2 cannot be read");
        return std::nullopt;
    }

    void fail(std::uint32_t row, const std::string& reason) {
        error_ = "Row " + std::to_string(row) + ": " + reason;
    }

    const SheetCellSource& cells_;
    const SheetNumberParser& parse_;
    std::vector<ImportedMaterial> materials_;
    std::string error_;
};

}  // namespace

std::optional<double> parsePlainNumber(std::string_view text) {
    text = trimBlanks(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

SheetImport importSheet(const SheetCellSource& cells, const SheetNumberParser& parse) {
    return SheetReader(cells, parse).run();
}

bool isSpreadsheetFileName(std::string_view path) {
    return path.size() >= 3 && equalsIgnoringCase(path.substr(path.size() - 3), "xls");
}

}  // namespace material
