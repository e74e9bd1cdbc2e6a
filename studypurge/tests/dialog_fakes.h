#pragma once
// Stand-ins shared by the dialog tests of both front ends.

#include <vector>

#include "HelpViewer.h"

namespace spdialog::fakes {

// Records the owner of every help request and shows nothing.
class RecordingHelp : public HelpViewer {
  public:
    std::vector<void*> owners;
    bool show(void* owner) override {
        owners.push_back(owner);
        return false;
    }
};

}  // namespace spdialog::fakes
