#include "ui/platform/HelpPaths.h"

namespace material {

PathStyle nativePathStyle() {
    return PathStyle::Posix;
}

}  // namespace material
