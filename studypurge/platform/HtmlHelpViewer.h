#pragma once
// The HTML help viewer: finds the viewer control's entry point on first use,
// remembers it (or the failure) for the rest of the run, and opens "studypurge.chm".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "HelpViewer.h"

namespace spdialog {

// The operating-system calls the viewer needs; a Win32 implementation and test fakes.
class HtmlHelpHost {
  public:
    virtual ~HtmlHelpHost() = default;

    // The default value of the classes-root key `key`, environment variables expanded
    // for an expandable string; nullopt when missing, empty, not a string or longer
    // than kMaxPathChars characters.
    virtual std::optional<std::u16string> registeredPath(std::u16string_view key) = 0;
    // Loads a library; null on failure.
    virtual void* loadLibrary(const std::u16string& path) = 0;
    virtual void freeLibrary(void* module) = 0;
    // The export with that ordinal number; null when there is none.
    virtual void* exportByOrdinal(void* module, unsigned ordinal) = 0;
    // Calls an entry point shaped like HtmlHelpW(owner, file, command, data).
    virtual void callHtmlHelp(void* entry, void* owner, const std::u16string& file,
                              unsigned command, std::uintptr_t data) = 0;
};

inline constexpr std::size_t kMaxPathChars = 260;

// The Win32 host, and a viewer calling it whose `owner` is an HWND (Windows builds only).
std::unique_ptr<HtmlHelpHost> createWindowsHtmlHelpHost();
std::unique_ptr<HelpViewer> createWindowsHelpViewer();

class HtmlHelpViewer : public HelpViewer {
  public:
    // Where the HTML help control registers its library.
    static constexpr std::u16string_view kControlKey =
        u"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
    static constexpr std::u16string_view kFallbackLibrary = u"hhctrl.ocx";
    static constexpr unsigned kHtmlHelpWOrdinal = 15;
    static constexpr std::u16string_view kHelpFile = u"studypurge.chm";
    static constexpr unsigned kDisplayTopic = 0;

    explicit HtmlHelpViewer(HtmlHelpHost& host) : host_(host) {}
    ~HtmlHelpViewer() override;
    HtmlHelpViewer(const HtmlHelpViewer&) = delete;
    HtmlHelpViewer& operator=(const HtmlHelpViewer&) = delete;

    bool show(void* owner) override;

    // Finds the entry point on the first call; later calls return the remembered answer.
    bool resolve();

  private:
    enum class State { Unresolved, Ready, Failed };

    void* loadControlLibrary();

    HtmlHelpHost& host_;
    State state_ = State::Unresolved;
    void* module_ = nullptr;
    void* entry_ = nullptr;
};

}  // namespace spdialog
