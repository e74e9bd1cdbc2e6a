#include "WorkbookMessage.h"

#include <algorithm>
#include <cstring>

namespace material {
namespace {

// Layout, integers little-endian:
//   "KTWB" version(1)
//   'E' length(4) text                                       an error
//   'S' rows(4) columns(4) count(4) then count cells of      a sheet
//       row(4) column(4) kind(1) [number(8) | length(4) text]
constexpr std::string_view kMagic{"KTWB\x01", 5};
constexpr char kErrorTag = 'E';
constexpr char kSheetTag = 'S';

enum class KindCode : std::uint8_t { Number = 1, Text = 2, Unreadable = 3 };

class Writer {
  public:
    void byte(std::uint8_t value) { out_ += static_cast<char>(value); }
    void u32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            byte(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void u64(std::uint64_t value) {
        for (int shift = 0; shift < 64; shift += 8) {
            byte(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void text(std::string_view value) {
        u32(static_cast<std::uint32_t>(value.size()));
        out_ += value;
    }
    void raw(std::string_view value) { out_ += value; }
    std::string take() { return std::move(out_); }

  private:
    std::string out_;
};

// Reads fields from the front of the bytes; once a read runs past the end every later
// read fails too, so a caller may check once at the end of a group.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    bool atEnd() const { return ok_ && bytes_.empty(); }

    bool expect(std::string_view prefix) {
        if (!take(prefix.size()) || consumed_ != prefix) {
            ok_ = false;
        }
        return ok_;
    }
    std::uint8_t byte() { return take(1) ? static_cast<std::uint8_t>(consumed_[0]) : 0; }
    std::uint32_t u32() { return static_cast<std::uint32_t>(little(4)); }
    std::uint64_t u64() { return little(8); }
    std::string text(std::size_t limit) {
        const std::uint32_t length = u32();
        if (length > limit) {
            ok_ = false;
        }
        return take(length) ? std::string(consumed_) : std::string();
    }

  private:
    bool take(std::size_t count) {
        if (!ok_ || bytes_.size() < count) {
            ok_ = false;
            consumed_ = {};
            return false;
        }
        consumed_ = bytes_.substr(0, count);
        bytes_.remove_prefix(count);
        return true;
    }
    std::uint64_t little(std::size_t count) {
        std::uint64_t value = 0;
        if (take(count)) {
            for (std::size_t i = count; i-- > 0;) {
                value = (value << 8) | static_cast<std::uint8_t>(consumed_[i]);
            }
        }
        return value;
    }

    std::string_view bytes_;
    std::string_view consumed_;
    bool ok_ = true;
};

std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double doubleOf(std::uint64_t bits) {
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void writeCell(Writer& out, std::uint32_t row, std::uint32_t column, const SheetCell& cell) {
    out.u32(row);
    out.u32(column);
    switch (cell.kind) {
        case SheetCell::Kind::Number:
            out.byte(static_cast<std::uint8_t>(KindCode::Number));
            out.u64(bitsOf(cell.number));
            break;
        case SheetCell::Kind::Text:
            out.byte(static_cast<std::uint8_t>(KindCode::Text));
            out.text(std::string_view(cell.text).substr(0, kMaxSentTextBytes));
            break;
        default:
            out.byte(static_cast<std::uint8_t>(KindCode::Unreadable));
            break;
    }
}

std::optional<SheetCell> readCell(Reader& in) {
    switch (static_cast<KindCode>(in.byte())) {
        case KindCode::Number:
            return SheetCell{SheetCell::Kind::Number, doubleOf(in.u64()), {}};
        case KindCode::Text:
            return SheetCell{SheetCell::Kind::Text, 0.0, in.text(kMaxSentTextBytes)};
        case KindCode::Unreadable:
            return SheetCell{SheetCell::Kind::Unreadable, 0.0, {}};
        default:
            return std::nullopt;
    }
}

std::optional<WorkbookMessage> readSheet(Reader& in) {
    const std::uint32_t rows = in.u32();
    const std::uint32_t columns = in.u32();
    const std::uint32_t count = in.u32();
    if (!in.ok()) {
        return std::nullopt;
    }
    auto sheet = std::make_unique<SheetCells>(rows, columns);
    // Each cell takes at least nine bytes, so a garbled count fails on the bytes long
    // before it could exhaust memory.
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t row = in.u32();
        const std::uint32_t column = in.u32();
        auto cell = readCell(in);
        if (!cell || !in.ok() || !sheet->append(row, column, std::move(*cell))) {
            return std::nullopt;
        }
    }
    return WorkbookMessage{std::move(sheet), {}};
}

}  // namespace

SheetCell SheetCells::cell(std::uint32_t row, std::uint32_t column) const {
    const auto found = cells_.find({row, column});
    return found == cells_.end() ? SheetCell{} : found->second;
}

bool SheetCells::append(std::uint32_t row, std::uint32_t column, SheetCell cell) {
    const std::pair key{row, column};
    if (row == 0 || column == 0 || row > rows_ || column > columns_ ||
        (!cells_.empty() && !(cells_.rbegin()->first < key))) {
        return false;
    }
    cells_.emplace_hint(cells_.end(), key, std::move(cell));
    return true;
}

std::string encodeSheetMessage(const SheetCellSource& cells, std::uint32_t columns) {
    const std::uint32_t rows = cells.rowCount();
    const std::uint32_t sentRows = std::min(rows, kMaxSheetRows);
    const std::uint32_t sentColumns = std::min(columns, kSentSheetColumns);
    Writer body;
    std::uint32_t count = 0;
    for (std::uint32_t row = 1; row <= sentRows; ++row) {
        for (std::uint32_t column = 1; column <= sentColumns; ++column) {
            const SheetCell cell = cells.cell(row, column);
            if (cell.kind != SheetCell::Kind::Empty) {
                writeCell(body, row, column, cell);
                ++count;
            }
        }
    }
    Writer out;
    out.raw(kMagic);
    out.byte(kSheetTag);
    out.u32(rows);
    out.u32(columns);
    out.u32(count);
    out.raw(body.take());
    return out.take();
}

std::string encodeErrorMessage(std::string_view error) {
    Writer out;
    out.raw(kMagic);
    out.byte(kErrorTag);
    out.text(error.substr(0, kMaxSentTextBytes));
    return out.take();
}

std::optional<WorkbookMessage> decodeWorkbookMessage(std::string_view bytes) {
    Reader in(bytes);
    if (!in.expect(kMagic)) {
        return std::nullopt;
    }
    std::optional<WorkbookMessage> message;
    switch (in.byte()) {
        case kErrorTag: {
            std::string error = in.text(kMaxSentTextBytes);
            if (in.ok() && !error.empty()) {
                message = WorkbookMessage{nullptr, std::move(error)};
            }
            break;
        }
        case kSheetTag:
            message = readSheet(in);
            break;
        default:
            break;
    }
    // Bytes after the message mean it is not the message the reader sent.
    if (!in.atEnd()) {
        return std::nullopt;
    }
    return message;
}

}  // namespace material
