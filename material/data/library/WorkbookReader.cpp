#include "LibraryController.h"

#ifdef KT_MATERIAL_XLS_FILES
#include "data/xls/SpreadsheetFile.h"
#endif

namespace material {

WorkbookReader PlatformWorkbookReader() {
#ifdef KT_MATERIAL_XLS_FILES
    return [](const std::string& path) { return readSpreadsheet(path); };
#else
    return [](const std::string&) {
        SheetImport refused;
        refused.error = kNoWorkbookReaderMessage;
        return refused;
    };
#endif
}

}  // namespace material
