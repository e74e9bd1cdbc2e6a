#pragma once
// Windows only: the storage interface on ole32's IStorage.

#include <objbase.h>

#include <memory>

#include "Storage.h"

namespace purge {

// Takes over one reference of `storage` and releases it when destroyed.
std::unique_ptr<Storage> WrapOle32Storage(IStorage* storage);

}  // namespace purge
