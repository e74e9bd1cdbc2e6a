#pragma once
// The user as a script: message boxes and file dialogs answered from queues. A box with
// OK alone takes a queued OK when one is next and needs none otherwise; any other box
// without a queued answer is a question the test did not expect, which fails it.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "data/library/LibraryPrompts.h"

namespace material::testing {

class ScriptedPromptsBase : public LibraryPrompts {
  public:
    struct Shown {
        std::string text;
        MessageButtons buttons;
        MessageIcon icon;
    };
    std::deque<MessageAnswer> answers;
    std::vector<Shown> shown;
    std::deque<std::optional<std::string>> openChoices;  // empty queue: Cancel
    std::deque<std::optional<std::string>> saveChoices;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    int unexpected = 0;  // questions asked without an answer queued

    MessageAnswer Message(const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override {
        shown.push_back({text, buttons, icon});
        if (buttons == MessageButtons::Ok) {
            if (!answers.empty() && answers.front() == MessageAnswer::Ok) {
                answers.pop_front();
            }
            return MessageAnswer::Ok;
        }
        if (answers.empty()) {
            ++unexpected;
            Unexpected("unexpected message box: " + text);
            return MessageAnswer::Cancel;
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return Next(openChoices);
    }
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return Next(saveChoices);
    }

    // The texts shown so far.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) {
            texts.push_back(s.text);
        }
        return texts;
    }
    // The texts shown since the last call.
    std::vector<std::string> takeAll() {
        std::vector<std::string> texts = Texts();
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

  protected:
    // Fails the running test in the test framework's own way.
    virtual void Unexpected(const std::string& what) = 0;

  private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> next = queue.front();
        queue.pop_front();
        return next;
    }
};

}  // namespace material::testing
