// Test programs cannot read workbooks themselves: material.exe, started as it starts
// itself, reads them for the test.
#include <algorithm>
#include <string>

#include "data/xls/win32/ReaderProgram.h"

namespace {

std::wstring materialProgram() {
    const std::string path = KT_MATERIAL_PROGRAM;
    std::wstring wide(path.begin(), path.end());
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

const bool kReaderChosen = (material::setWorkbookReaderProgram(materialProgram()), true);

}  // namespace
