// Builds the HTML report: the header, the system block, the product block and
// the CAD host block, each line ended with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Registry.h"
#include "SystemFacts.h"
#include "Text.h"

namespace sysreport {

inline constexpr const char* kBoldParagraph =
    "<p style=\"font-weight: bold; x-text-underline: normal;\">";
inline constexpr const char* kCourierParagraph =
    "<p style=\"font-family: 'Courier New', monospace; font-size: 10.0pt;\">";
inline constexpr const char* kSectionRule =
    "<hr style=\"float: aligncenter; width: 50%;\" Align = center width=50%>";

// Packed installer product code of Korvex/EMS 2007.
inline constexpr const char* kEms2007PackedProductCode = "6C2B4F1A93E8D0547B1A2C3D4E5F6A7B";
// Installer key of Korvex/EMS 2007 under the local machine, with its trailing backslash.
std::string ems2007InstallerKey();

// "sysreport Version 2.4.4": the window caption and the end of the report title.
std::string versionCaption();

// Everything the report reads, each behind its interface.
struct ReportServices {
    SystemFacts& facts;
    Clock& clock;
    RegistryReader& registry;
    CadHost& cadHost;
    MessageSink& messages;  // probe errors, shown with the program's title
};

class ReportWriter {
  public:
    // `programFolder` is the folder of the program, whose disk the report describes.
    ReportWriter(ReportServices services, std::string programFolder, ScreenFacts screen);

    // OpenGL as the front end's window system reports it (none by default).
    void setOpenGl(OpenGlFacts openGl) { openGl_ = std::move(openGl); }

    // The whole report as UTF-8 text with CR LF line ends.
    std::string build();

  private:
    void line(std::string_view text);
    void emptyLine();

    void writeHead();
    void writeReportHeader();
    void writeSystemBlock(const Uptime& uptime);
    void writeUserName();
    void writeComputerName();
    void writeOsVersionInformation();
    void writeSystemInformation();
    std::string tempDirectory();
    std::string environmentVariable(std::string_view name);
    void showProbeError(const char* sourceTag, const ProbeError& error);

    // Product block (the registry survey).
    void writeRegistryValues();
    void writeFamilyHeading(const char* icon, const char* title);
    void writeFamilyA();
    void writeFamilyB();
    void writeFamilyC();
    void writeFamilyD();
    void writeFamilyE(bool currentVersionKey, bool installerKey);
    void writeFamilyF();
    void writeFamilyG();
    struct VersionSection;
    void writeVersionSection(const VersionSection& section);
    void writeCurrentUserBlock(const std::string& resultsKey);

    // CAD host block.
    void writePlandryInformation();
    std::string editionLine(int year);

    // [K : V] of the local machine or current user, HTML-escaped.
    std::string machineValue(std::string_view key, std::string_view valueName);
    std::string userValue(std::string_view key, std::string_view valueName);

    ReportServices services_;
    std::string programFolder_;
    ScreenFacts screen_;
    OpenGlFacts openGl_;
    std::string out_;
};

}  // namespace sysreport
