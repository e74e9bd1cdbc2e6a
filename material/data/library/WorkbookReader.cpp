#include "LibraryController.h"
#include "data/xls/SpreadsheetFile.h"

namespace material {

WorkbookReader PlatformWorkbookReader() {
    return [](const std::string& path) { return readSpreadsheet(path); };
}

}  // namespace material
