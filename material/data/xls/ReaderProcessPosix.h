#pragma once
// Where processes can be forked, any work runs in a child: the reader's work, and in
// tests children that crash, hang or send too much on purpose.

#include <functional>
#include <string>
#include <string_view>

#include "ReaderProcess.h"
#include "SheetImport.h"

namespace material {

// Where the child's work sends its bytes.
class ChildOutput {
  public:
    virtual ~ChildOutput() = default;
    // False when the bytes could not all be sent (the parent stopped listening).
    virtual bool send(std::string_view bytes) = 0;
};

// Runs in the child; the child ends when it returns.
using ChildWork = std::function<void(ChildOutput&)>;

ChildReport runInChildProcess(const ChildWork& work, const ChildLimits& limits = {});

// Imports what `work`, run in a child process, sends about the workbook at `path`;
// reading a workbook passes the reading of the file.
SheetImport importFromChild(const std::string& path, const ChildWork& work,
                            const SheetNumberParser& parse = parsePlainNumber,
                            const ChildLimits& limits = {});

}  // namespace material
