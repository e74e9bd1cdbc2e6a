// Scripted stand-ins for the platform services of the report.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "MailDelivery.h"
#include "ReportFile.h"
#include "SystemFacts.h"
#include "SystemInfoTool.h"
#include "Text.h"

namespace sysreport::testing {

class FakeSystemFacts : public SystemFacts {
  public:
    Probed<std::string> userName() override {
        if (userNameError)
            return *userNameError;
        return user;
    }
    std::string computerName() override { return computer; }
    std::string ethernetAddress(int) override { return ethernet; }
    std::string ipAddress(MessageSink& messages) override {
        for (const auto& message : ipMessages)
            messages.showMessage(message);
        return ip;
    }
    Probed<OsVersion> osVersion() override {
        if (osError)
            return *osError;
        return os;
    }
    Probed<MemoryStatus> memoryStatus() override {
        if (memoryError)
            return *memoryError;
        return memory;
    }
    DiskSpace diskSpace(const std::string& folder) override {
        diskFolder = folder;
        return disk;
    }
    Probed<std::string> tempDirectory() override {
        if (tempError)
            return *tempError;
        return temp;
    }
    Probed<std::string> environmentVariable(std::string_view name) override {
        if (environmentError)
            return *environmentError;
        const auto found = environment.find(asciiLower(name));
        return found == environment.end() ? std::string() : found->second;
    }
    GraphicsAdapter graphicsAdapter() override { return adapter; }

    std::string user = "engineer";
    std::string computer = "WORKSTATION7";
    std::string ethernet = "00155D0A1B2C";
    std::string ip = "192.168.0.12";
    std::vector<std::string> ipMessages;
    OsVersion os{"Windows NT ", "6.0", "6002", "Service Pack 2", "Windows Vista 32bit or 64bit",
                 "586",         4};
    MemoryStatus memory{8ull << 30, (3ull << 30) + (512ull << 20), 12ull << 30};
    DiskSpace disk{500ull << 30, 123ull << 30, "C:"};
    std::string temp = "C:\\Temp\\";
    std::map<std::string, std::string> environment{
        {"path", "C:\\Windows;C:\\Tools <beta> & more"}};  // keys in lower case
    std::optional<ProbeError> userNameError, osError, memoryError, tempError, environmentError;
    GraphicsAdapter adapter{"Example Graphics 3000", "exgfx"};
    std::string diskFolder;
};

class FakeClock : public Clock {
  public:
    std::uint64_t uptimeMilliseconds() override { return uptime; }
    std::string dateText() override { return date; }
    std::string timeText() override { return time; }

    std::uint64_t uptime = (3ull * 3600 + 25 * 60 + 7) * 1000;
    std::string date = "12/7/2026";
    std::string time = "10:45:12 AM";
};

class FakeCadHost : public CadHost {
  public:
    std::optional<CadHostInfo> readInfo() override {
        ++starts;
        return info;
    }
    std::optional<CadHostInfo> info;
    int starts = 0;
};

// Records every prompt; answers the Yes/No question from `answerYes`.
class RecordingPrompts : public UserPrompts {
  public:
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text, const std::string& title) override {
        questions.push_back(title + "|" + text);
        if (onQuestion) {
            onQuestion();
        }
        return answerYes;
    }
    void inform(const std::string& text, const std::string& title) override {
        messages.push_back(title + "|" + text);
    }
    bool openFile(const std::string& path) override {
        opened.push_back(path);
        return openSucceeds;
    }

    bool answerYes = true;
    bool openSucceeds = true;
    std::function<void()> onQuestion;  // runs while a question is open
    std::vector<std::string> questions, messages, opened;
};

// Records what reaches the mail programs; each path succeeds or fails as scripted.
class FakeMailClient : public MailClient {
  public:
    void openMailLink(const std::string& link) override { links.push_back(link); }
    bool sendAutomated(const MailMessage& message, std::string& error) override {
        automated.push_back(message);
        error = automationError;
        return automationError.empty();
    }
    bool canCompose() const override { return composer; }
    std::string mailHandler() override { return handler; }
    bool composeWithAttachment(const MailMessage& message, std::string& error) override {
        composed.push_back(message);
        error = composeError;
        return composeError.empty();
    }

    std::string automationError;  // "" sends
    bool composer = false;
    std::string handler;       // the desktop's mail handler
    std::string composeError;  // "" opens the message
    std::vector<std::string> links;
    std::vector<MailMessage> automated, composed;
};

class FakeSystemInfoTool : public SystemInfoTool {
  public:
    bool start() override {
        ++starts;
        return available;
    }
    bool available = true;
    int starts = 0;
};

}  // namespace sysreport::testing
