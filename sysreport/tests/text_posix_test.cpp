// The report's code page on Linux, where the program converts on its own.
#include <gtest/gtest.h>

#include "AnsiText.h"

namespace sysreport {
namespace {

TEST(AnsiText, LinuxReportsAreWindows1252) {
    EXPECT_EQ(toAnsiHtml("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(toAnsi("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(toAnsi("\xE2\x98\xBA \xF0\x9F\x98\x80"), "? ?");
    EXPECT_EQ(fromAnsi("\xE9\x80\x81"), "\xC3\xA9\xE2\x82\xAC\xC2\x81");
}

}  // namespace
}  // namespace sysreport
