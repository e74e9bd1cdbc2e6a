#include "SheetImport.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "data/Cp1252.h"

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

// A cell's UTF-8 text in the single-byte code page the library keeps its texts in, so
// that "Stahl Ã" is shown and saved as it was typed.
std::string libraryText(std::string_view utf8) {
    return EncodeLibraryText(utf8).bytes;
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
        if (auto name = columnTwoText(row, "name", kMaxImportedNameLength)) {
            materials_.push_back({std::move(*name), {}, {}});
        }
    }

    void setCategory(std::uint32_t row) {
        if (materials_.empty()) {
            fail(row, "\"Type\" row before the first \"Name\" row");
            return;
        }
        if (auto category = columnTwoText(row, "category", kMaxImportedCategoryLength)) {
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

    // The text of column 2 as the library keeps it; a text the library file could not
    // hold as it stands (too long, or with a character outside the code page) ends the
    // import, as it would come back cut or changed after a save.
    std::optional<std::string> columnTwoText(std::uint32_t row, std::string_view what,
                                             std::size_t limit) {
        SheetCell cell = cells_.cell(row, 2);
        switch (cell.kind) {
            case SheetCell::Kind::Text: {
                const EncodedText text = EncodeLibraryText(cell.text);
                if (!text.complete()) {
                    fail(row, "the " + std::string(what) + " \"" + text.bytes + "\" holds " +
                                  CharacterName(text.firstUnheld) +
                                  ", which a material library cannot hold");
                    return std::nullopt;
                }
                return withinLimit(row, what, limit, text.bytes);
            }
            case SheetCell::Kind::Number:
                return withinLimit(row, what, limit, numberText(cell.number));
            case SheetCell::Kind::Empty:
                return std::string();
            case SheetCell::Kind::Unreadable:
                break;
        }
        fail(row, "column 2 cannot be read");
        return std::nullopt;
    }

    std::optional<std::string> withinLimit(std::uint32_t row, std::string_view what,
                                           std::size_t limit, std::string text) {
        if (trimBlanks(text).size() > limit) {
            fail(row, "the " + std::string(what) + " \"" + text + "\" is longer than " +
                          std::to_string(limit) + " characters");
            return std::nullopt;
        }
        return text;
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
