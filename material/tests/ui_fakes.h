#pragma once
// Scripted stand-ins for the user and the platform services of the library window.

#include <QTest>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "data/DecimalSeparator.h"
#include "data/library/LibraryPrompts.h"
#include "scripted_prompts.h"
#include "ui/platform/HelpViewer.h"

namespace material::uitest {

// The scripted user of the QtTest programs.
class ScriptedPrompts final : public testing::ScriptedPromptsBase {
  protected:
    void Unexpected(const std::string& what) override {
        QTest::qFail(what.c_str(), __FILE__, __LINE__);
    }
};

class PointSeparator final : public DecimalSeparatorSource {
  public:
    std::string ReadDecimalSeparator() const override { return "."; }
};

class NoHelp final : public HelpViewer {
  public:
    void displayHelpFile(const std::string&) override {}
};

}  // namespace material::uitest
