// Mail links, the mail programs of each platform and the system information tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "MailDelivery.h"
#include "ShellOpen.h"
#include "SystemInfoTool.h"
#include "TestData.h"

namespace sysreport {
namespace {

TEST(MailLink, PrefixIsAddedUnlessPresentInAnyLetterCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"desk@example.org", "mailto:desk@example.org?subject=S"},
        {"mailto:desk@example.org", "mailto:desk@example.org?subject=S"},
        {"MailTo:Desk@Example.org", "MailTo:Desk@Example.org?subject=S"},
        {"MAILTO:desk@example.org", "MAILTO:desk@example.org?subject=S"},
        {"mail@example.org", "mailto:mail@example.org?subject=S"},
        {"mailto", "mailto:mailto?subject=S"},
    };
    for (const auto& [address, link] : cases) {
        EXPECT_EQ(mailToLink(address, "S", ""), link) << address;
    }
}

TEST(MailLink, FieldsAreJoinedByQuestionMarkThenAmpersand) {
    EXPECT_EQ(mailToLink("a@b", "", ""), "mailto:a@b");
    EXPECT_EQ(mailToLink("a@b", "S", "B"), "mailto:a@b?subject=S&body=B");
    EXPECT_EQ(mailToLink("a@b", "", "B"), "mailto:a@b?body=B");
}

TEST(MailLink, SubjectAndBodyArePercentEncoded) {
    const std::pair<const char*, const char*> cases[] = {
        {"a b", "a%20b"},
        {"line\r\nnext", "line%0D%0Anext"},
        {"&=?#%+", "%26%3D%3F%23%25%2B"},
        {"C:\\Program Files\\Korvex", "C:%5CProgram%20Files%5CKorvex"},
        {"caf\xC3\xA9", "caf%C3%A9"},
        {"-._~/:@AZaz09", "-._~/:@AZaz09"},
    };
    for (const auto& [text, encoded] : cases) {
        EXPECT_EQ(percentEncodeMailField(text), encoded) << text;
    }
}

TEST(MailLink, AnAddressCannotAddHeaderFields) {
    const std::pair<const char*, const char*> cases[] = {
        {"evil@x.example?bcc=spy@y.example", "mailto:evil@x.example%3Fbcc%3Dspy@y.example"},
        {"a@b&cc=c@d", "mailto:a@b%26cc%3Dc@d"},
        {"a b@c", "mailto:a%20b@c"},
        {"100%@c", "mailto:100%25@c"},
        {"a@b, c@d", "mailto:a@b,%20c@d"},
        {"MAILTO:x@y?body=z", "MAILTO:x@y%3Fbody%3Dz"},
    };
    for (const auto& [address, link] : cases) {
        EXPECT_EQ(mailToLink(address, "", ""), link) << address;
    }
    EXPECT_EQ(mailToLink("a?b@c", "x&y", "1 2"), "mailto:a%3Fb@c?subject=x%26y&body=1%202");
}

TEST(MailLink, DesktopComposerGetsTheAddressAsALinkNeverAsAnOption) {
    const MailMessage message{"-evil@x.example", "S", "B", "/tmp/r.htm"};
    EXPECT_EQ(desktopComposeArguments(message),
              (std::vector<std::string>{"xdg-email", "--subject", "S", "--body", "B", "--attach",
                                        "/tmp/r.htm", "mailto:-evil@x.example"}));
}

TEST(MailHandler, OnlyKnownComposersAreTrustedWithAttachments) {
    for (const char* handler :
         {"thunderbird.desktop", "org.mozilla.Thunderbird.desktop", "org.gnome.Evolution.desktop",
          "org.kde.kmail2.desktop", "claws-mail.desktop", "org.gnome.Geary.desktop",
          "sylpheed.desktop"}) {
        EXPECT_TRUE(mailHandlerTakesAttachments(handler)) << handler;
    }
    for (const char* handler : {"", "firefox.desktop", "google-chrome.desktop",
                                "userapp-mutt.desktop", "org.gnome.Nautilus.desktop"}) {
        EXPECT_FALSE(mailHandlerTakesAttachments(handler)) << handler;
    }
}

// A registry of the local machine's values and a set of existing files.
struct LookupScript {
    std::map<std::string, std::string> values;  // "key|name" -> value
    std::vector<std::string> files;

    SystemInfoLookup lookup() const {
        return {[this](const std::string& key, const std::string& name, std::string& value) {
                    const auto found = values.find(key + "|" + name);
                    if (found == values.end()) {
                        return false;
                    }
                    value = found->second;
                    return true;
                },
                [this](const std::string& path) {
                    return std::find(files.begin(), files.end(), path) != files.end();
                }};
    }
};

TEST(SystemInfoProgram, ToolKeyFirstThenSharedLocationWhenTheFileExists) {
    const std::string toolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH";
    const std::string locationKey = "SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO";
    const struct {
        LookupScript script;
        std::string program;
    } cases[] = {
        {{{{toolKey, "C:\\Tools\\msinfo32.exe"}, {locationKey, "C:\\Shared"}},
          {"C:\\Shared\\MSINFO32.EXE"}},
         "C:\\Tools\\msinfo32.exe"},
        {{{{locationKey, "C:\\Shared"}}, {"C:\\Shared\\MSINFO32.EXE"}}, "C:\\Shared\\MSINFO32.EXE"},
        {{{{locationKey, "C:\\Shared"}}, {}}, ""},
        {{{}, {"C:\\Shared\\MSINFO32.EXE"}}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(systemInfoProgram(c.script.lookup()), c.program);
    }
}

}  // namespace
}  // namespace sysreport
