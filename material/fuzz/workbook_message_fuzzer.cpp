// Arbitrary bytes taken as the message a workbook-reading child process sends back: a
// child led astray by a hostile file may send anything, and the program must neither
// trust nor crash on it. A message that decodes is imported, and its cells encode into
// a message that decodes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/xls/WorkbookMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace material;
    const auto message =
        decodeWorkbookMessage(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!message || !message->sheet) {
        return 0;
    }
    importSheet(*message->sheet);
    if (!decodeWorkbookMessage(
            encodeSheetMessage(*message->sheet, message->sheet->columnCount()))) {
        std::abort();
    }
    return 0;
}
