#pragma once
// Scripted stand-ins for the user and the platform services of the library window.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "data/DecimalSeparator.h"
#include "data/library/LibraryPrompts.h"
#include "ui/platform/HelpViewer.h"

namespace material::uitest {

// Answers questions from a queue; boxes with OK alone need no answer.
class ScriptedPrompts final : public LibraryPrompts {
  public:
    struct Shown {
        std::string text;
        MessageButtons buttons;
        MessageIcon icon;
    };
    std::deque<MessageAnswer> answers;
    std::vector<Shown> shown;
    std::deque<std::string> openChoices;  // empty: Cancel
    std::deque<std::string> saveChoices;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    int unexpected = 0;

    MessageAnswer Message(const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override {
        shown.push_back({text, buttons, icon});
        if (buttons == MessageButtons::Ok) {
            return MessageAnswer::Ok;
        }
        if (answers.empty()) {
            ++unexpected;
            return MessageAnswer::Cancel;
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return next(openChoices);
    }
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return next(saveChoices);
    }
    // The texts shown since the last call.
    std::vector<std::string> takeAll() {
        std::vector<std::string> texts;
        for (const Shown& s : shown) {
            texts.push_back(s.text);
        }
        shown.clear();
        return texts;
    }
    // The one message shown since the last call, or "" when none or several.
    std::string take(MessageIcon* icon = nullptr) {
        const std::string text = shown.size() == 1 ? shown.front().text : std::string();
        if (icon != nullptr && shown.size() == 1) {
            *icon = shown.front().icon;
        }
        shown.clear();
        return text;
    }

  private:
    static std::optional<std::string> next(std::deque<std::string>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        std::string path = queue.front();
        queue.pop_front();
        return path;
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
