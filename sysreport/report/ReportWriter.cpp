#include "ReportWriter.h"

#include <cmath>
#include <utility>

#include "FamilyIcons.h"
#include "Text.h"
#include "Version.h"

namespace sysreport {
namespace {

constexpr const char* kWorksKey = "Software\\Quorvane\\Korvex/WORKS";
constexpr const char* kZentaroKey = "Software\\Quorvane\\Zentaro";
constexpr const char* kKorvexMKey = "Software\\Quorvane\\Korvex/M";
constexpr const char* kEmsCurrentKey = "Software\\Quorvane\\Korvex/EMS\\EMS Current Version";
constexpr const char* kFluvaneKey = "Software\\Quorvane\\KorvexFluvane";
constexpr const char* kMotionKey = "Software\\Quorvane\\KorvexMotion";

constexpr const char* kInstallDirLabel24 = "INSTALLATIONDIR:        ";
constexpr const char* kInstallDirLabel23 = "INSTALLATIONDIR:       ";

std::string withoutTrailingBackslash(std::string key) {
    if (!key.empty() && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

}  // namespace

std::string ems2007InstallerKey() {
    return std::string(
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\"
               "S-1-5-18\\Products\\") +
           kEms2007PackedProductCode + "\\InstallProperties\\";
}

std::string versionCaption() {
    return std::string(kAppTitle) + " Version " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

struct ReportWriter::VersionSection {
    std::string heading;
    std::string key;          // K: the current-version key
    std::string materialKey;  // MK
    std::string resultsKey;   // RK
    const char* installDirLabel = kInstallDirLabel24;
    const char* versionSeparator = " ";
    bool userBlock = false;
};

ReportWriter::ReportWriter(ReportServices services, std::string programFolder, ScreenFacts screen)
    : services_(services), programFolder_(std::move(programFolder)), screen_(screen) {}

std::string ReportWriter::build() {
    out_.clear();
    out_.reserve(32 * 1024);
    // Products installed since the last report must show in this one.
    services_.registry.refresh();
    writeHead();
    const Uptime uptime = uptimeFromMilliseconds(services_.clock.uptimeMilliseconds());
    writeReportHeader();
    emptyLine();
    emptyLine();
    line(std::string(kBoldParagraph) + "User and System Information:" + "</p>");
    emptyLine();
    writeSystemBlock(uptime);
    writeRegistryValues();
    emptyLine();
    writePlandryInformation();
    line("</body>");
    return std::move(out_);
}

void ReportWriter::line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
}

void ReportWriter::emptyLine() {
    out_ += "\r\n";
}

void ReportWriter::writeHead() {
    line("<html>");
    line("<head>");
    line("<title>Information about Plandry Simulation Products - " + versionCaption() + "</title>");
    line("</head>");
    line("<body>");
}

void ReportWriter::writeReportHeader() {
    line("<h1 align=center>Information about Plandry Simulation Products</h1>");
    line(std::string("<h2 align=center>") + kAppTitle + "</h2>");
    line("<h3 align=center>Version " + signedText(kVersionMajor) + "." + signedText(kVersionMinor) +
         "." + signedText(kVersionRevision) + "</h3>");
    line(std::string("<h3 align=center>") + kLegalNotice + "</h3>");
    emptyLine();
}

void ReportWriter::showProbeError(const char* sourceTag, const ProbeError& error) {
    services_.messages.showMessage(sourceTag + std::to_string(error.number) + error.description);
}

// ---- System block -------------------------------------------------------------

void ReportWriter::writeSystemBlock(const Uptime& uptime) {
    writeUserName();
    writeComputerName();
    line(uptimeSentence(uptime));
    line("Ethernet Address:        " + htmlEscape(services_.facts.ethernetAddress(0)));
    line("IP Address:              " + htmlEscape(services_.facts.ipAddress(services_.messages)));
    emptyLine();
    writeOsVersionInformation();
    emptyLine();
    writeSystemInformation();
    line("GRAPHICS:                " +
         htmlEscape(graphicsSummary(services_.facts.graphicsAdapter(), openGl_)));
    emptyLine();
    if (const std::string source = services_.registry.sourceDescription(); !source.empty()) {
        line("REGISTRY:                " + htmlEscape(source));
    }
    line("TEMPORARY DIRECTORY :    " + tempDirectory());
    line("PATH :                   " + environmentVariable("Path"));
    line("KorvexM :                " + environmentVariable("KorvexM") + "</pre>");
}

void ReportWriter::writeUserName() {
    const auto name = services_.facts.userName();
    if (!name.ok()) {
        showProbeError("Stats.Form1.UserName", name.error());
        return;
    }
    line("<pre>USER NAME:               " + htmlEscape(name.value()));
}

void ReportWriter::writeComputerName() {
    line("COMPUTER NAME:           " + htmlEscape(services_.facts.computerName()));
}

void ReportWriter::writeOsVersionInformation() {
    const auto version = services_.facts.osVersion();
    if (!version.ok()) {
        showProbeError("Stats.Form1.VersionInformation", version.error());
        return;
    }
    const OsVersion& os = version.value();
    line("OPERATING SYSTEM:        " + htmlEscape(os.platform) + "version " +
         htmlEscape(os.version) + " " + htmlEscape(os.servicePack) +
         " (Build: " + htmlEscape(os.build) + ")");
    line("                         (" + htmlEscape(os.classification) + ")");
    line("BUILD:                   " + htmlEscape(os.build));
    line("PROCESSOR :              " + htmlEscape(os.processor));
    line("NUMBER OF PROCESSOR :    " + signedText(os.processorCount));
    line("SYSTEM DATE :            " + htmlEscape(services_.clock.dateText()) + " at " +
         htmlEscape(services_.clock.timeText()));
}

void ReportWriter::writeSystemInformation() {
    const auto memory = services_.facts.memoryStatus();
    if (!memory.ok()) {
        showProbeError("Stats.Form1.SystemInformation", memory.error());
        return;
    }
    const DiskSpace disk = services_.facts.diskSpace(programFolder_);
    line("TOTAL PHYSICAL MEMORY:   " + megabytesText(memory.value().totalPhysical) + " MB");
    line("TOTAL AVAILABLE MEMORY:  " + megabytesText(memory.value().availablePhysical) + " MB");
    line("TOTAL PAGING MEMORY:     " + megabytesText(memory.value().totalPageFile) + " MB");
    line("TOTAL DISK SPACE:        " + megabytesText(disk.totalBytes) + " MB");
    line("TOTAL FREE DISK SPACE:   " + megabytesText(disk.freeBytes) + " MB");
    line("CURRENT DRIVE:            " + htmlEscape(disk.drive) + "<br>");
    line("SCREEN RESOLUTION:       " + signedText(screen_.width) + " x " +
         signedText(screen_.height));
    const float colors = std::pow(2.0f, static_cast<float>(screen_.bitsPerPixel));
    line("NUMBER OF COLORS:        " + signedSingleText(colors));
}

std::string ReportWriter::tempDirectory() {
    const auto folder = services_.facts.tempDirectory();
    if (!folder.ok()) {
        showProbeError("Stats.Form1.GetTempDirectory", folder.error());
        return {};
    }
    return htmlEscape(folder.value());
}

std::string ReportWriter::environmentVariable(std::string_view name) {
    const auto value = services_.facts.environmentVariable(name);
    if (!value.ok()) {
        showProbeError("Stats.Form1.GetEnvironmentVar", value.error());
        return {};
    }
    return htmlEscape(value.value());
}

// ---- Product block ------------------------------------------------------------

std::string ReportWriter::machineValue(std::string_view key, std::string_view valueName) {
    return htmlEscape(services_.registry.text("HKLM", key, valueName));
}

std::string ReportWriter::userValue(std::string_view key, std::string_view valueName) {
    return htmlEscape(services_.registry.text("HKCU", key, valueName));
}

void ReportWriter::writeRegistryValues() {
    RegistryReader& registry = services_.registry;
    const std::string works = std::string(kWorksKey) + "\\";
    const bool familyA = registry.existenceTest("HKCU", works) == kStatusSuccess;
    const bool familyB = registry.existenceTest("HKLM", works) == kStatusSuccess;
    const bool familyC =
        registry.existenceTest("HKLM", "Software\\Zentaro2007\\") == kStatusSuccess;
    const bool familyD =
        registry.existenceTest("HKLM", "Software\\Quorvane\\Korvex/M\\") == kStatusSuccess;
    const bool familyG =
        registry.existenceTest("HKLM", "Software\\Quorvane\\KorvexMotion\\") == kStatusSuccess;
    const bool familyF =
        registry.existenceTest("HKLM", "Software\\Quorvane\\KorvexFluvane\\") == kStatusSuccess;
    const bool emsCurrent =
        registry.existenceTest("HKLM", "Software\\Quorvane\\Korvex/EMS\\") == kStatusSuccess;
    const bool emsInstaller =
        registry.existenceTest("HKLM", ems2007InstallerKey()) == kStatusSuccess;

    if (familyA) {
        writeFamilyA();
    }
    if (familyB) {
        writeFamilyB();
    }
    if (familyC) {
        writeFamilyC();
    }
    if (familyD) {
        writeFamilyD();
    }
    if (emsCurrent || emsInstaller) {
        writeFamilyE(emsCurrent, emsInstaller);
    }
    if (familyF) {
        writeFamilyF();
    }
    if (familyG) {
        writeFamilyG();
    }
}

void ReportWriter::writeFamilyHeading(const char* icon, const char* title) {
    emptyLine();
    line(kSectionRule);
    line(std::string("<h3><img src=\"") + icon + "\"> " + title + "</h3>");
}

void ReportWriter::writeFamilyA() {
    const std::string results = std::string(kWorksKey) + "\\Results";
    writeFamilyHeading(kIconFamilyA, "Plandry Simulation");
    line(std::string(kBoldParagraph) + "HKCU\\Software\\Quorvane\\Korvex/WORKS\\Results<br>");
    line(std::string(kCourierParagraph) +
         "WORKPATHNAME:            " + userValue(results, "WORKPATHNAME") + "<br>");
    line("WorkReportPathName:      " + userValue(results, "WorkReportPathName") + "</p>");
}

void ReportWriter::writeFamilyB() {
    const std::string works = kWorksKey;
    auto row = [&](const std::string& heading, const std::string& folder, bool userBlock) {
        VersionSection section;
        section.heading = heading;
        section.key = folder + "\\Current Version";
        section.materialKey = folder + "\\Material";
        section.resultsKey = folder + "\\Results";
        section.userBlock = userBlock;
        return section;
    };
    VersionSection sections[] = {
        row("KorvexWorks 2004 and before (HKLM\\Software\\Quorvane\\Korvex/WORKS\\Current "
            "Version)",
            works, false),
        row("KorvexWorks 2005 (HKLM\\Software\\Quorvane\\Korvex/WORKS\\KorvexWorks 2005\\Current "
            "Version)",
            works + "\\KorvexWorks 2005", false),
        row("KorvexWorks 2006 (HKLM\\Software\\Quorvane\\Korvex/WORKS\\KorvexWorks 2006\\Current "
            "Version)",
            works + "\\KorvexWorks 2006", true),
        row("KorvexWorks 2007 (HKLM\\Software\\Quorvane\\Korvex/WORKS\\KorvexWorks 2007\\Current "
            "Version)",
            works + "\\KorvexWorks 2007", true),
        row("KorvexWorks 2008 (HKLM\\Software\\Quorvane\\Korvex/WORKS\\KorvexWorks 2008\\Current "
            "Version)",
            works + "\\KorvexWorks 2008", true),
        row("Plandry Simulation 2009 (HKLM\\Software\\Quorvane\\Korvex/WORKS\\KorvexWorks "
            "2009\\Current Version)",
            works + "\\KorvexWorks 2009", true),
    };
    sections[0].installDirLabel = kInstallDirLabel23;
    bool first = true;
    for (const VersionSection& section : sections) {
        if (!first) {
            emptyLine();
        }
        first = false;
        writeVersionSection(section);
    }
}

void ReportWriter::writeVersionSection(const VersionSection& s) {
    line(std::string(kBoldParagraph) + s.heading + "</p>");
    line(std::string(kCourierParagraph) +
         "INSTALLDATE:            " + machineValue(s.key, "INSTALLDATE") + "<br>");
    line("LOCALPATHNAME:          " + machineValue(s.key, "LOCALPATHNAME") + "<br>");
    line("PATHNAME:               " + machineValue(s.key, "PATHNAME") + "<br>");
    line(s.installDirLabel + machineValue(s.key, "INSTALLATIONDIR") + "<br>");
    line("PLANDRYPATH:         " + machineValue(s.key, "PLANDRYPATH") + "<br>");
    line("VERSION:                " + machineValue(s.key, "VERSION") + s.versionSeparator +
         machineValue(s.key, "SERVICE PACK") + " (" + machineValue(s.key, "BUILD") + ")<br>");
    line("Material Lib. path:     " + machineValue(s.materialKey, "LIBRARYFILE") + "<br>");
    line("WORKPATHNAME:           " + machineValue(s.resultsKey, "WORKPATHNAME") + "<br>");
    line("WorkReportPathName:     " + machineValue(s.resultsKey, "WorkReportPathName") + "</p>");
    if (s.userBlock) {
        writeCurrentUserBlock(s.resultsKey);
    }
}

void ReportWriter::writeCurrentUserBlock(const std::string& resultsKey) {
    RegistryReader& registry = services_.registry;
    line(std::string(kCourierParagraph) + "For the current user:<br>");
    if (registry.text("HKCU", resultsKey, "ResultLocationType") != "0") {
        line("Result Location: in " + userValue(resultsKey, "WORKPATHNAME") + "<br>");
    } else {
        const bool subfolder =
            registry.text("HKCU", resultsKey, "UseSubDirectoryForResults") == "1";
        const std::string where =
            subfolder ? "in subfolder " + userValue(resultsKey, "SubDirectoryPathName") : "";
        line("Result Location: in Plandry file folder, " + where + "<br>");
    }
    if (registry.text("HKCU", resultsKey, "ReportLocationType") == "0") {
        line(std::string("Report Location: in result file folder") + "</p>");
    } else {
        line("Report Location: in " + userValue(resultsKey, "WorkReportPathName") + "</p>");
    }
}

void ReportWriter::writeFamilyC() {
    const std::string zentaro = kZentaroKey;
    const std::string current = zentaro + "\\Zentaro Current Version";
    writeFamilyHeading(kIconFamilyC, "KorvexZentaro");
    line(std::string(kBoldParagraph) +
         "KorvexZentaro 3.0 to 4.5 (HKLM\\Software\\Quorvane\\Zentaro)</p>");
    line(std::string(kCourierParagraph) +
         "PATHTOZENTARO:       " + machineValue(zentaro, "PATHTOZENTARO") + "<br>");
    line("INSTALLDATE:            " + machineValue(current, "INSTALLDATE") + "<br>");
    line("VERSION (3.0 or 4.5):   " + machineValue(current, "VERSION") + "<br>");
    line("CURRENT_VERSION (4.0):  " + machineValue(current, "CURRENT_VERSION") + "<br>");
    line("BUILD:                  " + machineValue(current, "BUILD") + "<br>");
    line("TEMP FILE DIRECTORY:    " + machineValue(zentaro + "\\General", "TEMP FILE DIRECTORY") +
         "<br>");
    line("Material Lib. path :    " + machineValue(zentaro + "\\Material", "LIBRARYFILE") + "</p>");
    for (const char* year : {"2006", "2007", "2008"}) {
        const std::string folder = zentaro + " " + year;
        VersionSection section;
        section.heading = std::string("KorvexZentaro ") + year +
                          " (HKLM\\Software\\Quorvane\\Zentaro " + year + "\\Current Version)";
        section.key = folder + "\\Current Version";
        section.materialKey = folder + "\\Material";
        section.resultsKey = folder + "\\Results";
        section.versionSeparator = std::string_view(year) == "2006" ? " SP " : " ";
        section.userBlock = true;
        emptyLine();
        writeVersionSection(section);
    }
}

void ReportWriter::writeFamilyD() {
    const std::string current = std::string(kKorvexMKey) + "\\Current Version";
    writeFamilyHeading(kIconFamilyD, "KorvexM");
    line(std::string(kBoldParagraph) + "HKLM\\Software\\Quorvane\\Korvex/M</p>");
    line(std::string(kCourierParagraph) +
         "KorvexM Install Dir:   " + machineValue(kKorvexMKey, "INSTALLDIR") +
         " - installed on: " + machineValue(kKorvexMKey, "DATE") + "<br>");
    line("VERSION:               " + machineValue(kKorvexMKey, "VERSION") + " (" +
         machineValue(kKorvexMKey, "BUILD") + ")</p>");
    line(
        "<p>(for older versions - prior to 2.9) "
        "(HKLM\\Software\\Quorvane\\Korvex/M\\Current Version)");
    line(std::string(kCourierParagraph) +
         "KorvexM Install Dir:   " + machineValue(current, "INSTALLATIONDIR") +
         " - installed on: " + machineValue(current, "INSTALLDATE") + "<br>");
    line("VERSION:               " + machineValue(current, "VERSION") + " (" +
         machineValue(current, "BUILD") + ")</p>");
}

void ReportWriter::writeFamilyE(bool currentVersionKey, bool installerKey) {
    writeFamilyHeading(kIconFamilyE, "KorvexEMS");
    if (currentVersionKey) {
        const std::string k = kEmsCurrentKey;
        line(std::string(kBoldParagraph) +
             "KorvexEMS 3.0 HKLM\\Software\\Quorvane\\Korvex/EMS\\EMS Current Version</p>");
        line(std::string(kCourierParagraph) +
             "KorvexEMS Install Dir:  " + machineValue(k, "PATHTOEMS") +
             " - installed on: " + machineValue(k, "INSTALLDATE") + "<br>");
        line("VERSION:                " + machineValue(k, "VERSION") + " (" +
             machineValue(k, "BUILD") + ")<br>");
        line("ZENTARO PATH:       " + machineValue(k, "ASSOCIATED ZENTARO PATH") + "</p>");
    }
    if (installerKey) {
        const std::string k = ems2007InstallerKey();
        line(std::string(kBoldParagraph) + "KorvexEMS 2007 (HKLM\\" + withoutTrailingBackslash(k) +
             ")</p>");
        line(std::string(kCourierParagraph) +
             "KorvexEMS Install Dir:  " + machineValue(k, "InstallLocation") +
             " - installed on: " + machineValue(k, "INSTALLDATE") + "<br>");
        line("VERSION:                " + machineValue(k, "DisplayName") + " (" +
             machineValue(k, "DisplayVersion") + ")<br>");
    }
}

void ReportWriter::writeFamilyF() {
    const std::string f = kFluvaneKey;
    writeFamilyHeading(kIconFamilyF, "KorvexFluvane");
    line(std::string(kBoldParagraph) +
         "Installed versions (HKLM\\Software\\Quorvane\\KorvexFluvane\\200?)</p>");
    for (int year = 2003; year <= 2008; ++year) {
        const std::string key = f + "\\" + std::to_string(year);
        const std::string label = "QVL " + std::to_string(year) + " Install Dir:  ";
        line((year == 2003 ? std::string(kCourierParagraph) : std::string()) + label +
             machineValue(key, "Install Dir") + " - installed on: " + machineValue(key, "Date") +
             "<br>");
    }
    line("Flow Simulation 2009  Install Dir:  " + machineValue(f + "\\2009", "Install Dir") +
         " - installed on: " + machineValue(f + "\\2009", "Date") + "</p>");
    line(std::string(kBoldParagraph) +
         "Current version (HKLM\\Software\\Quorvane\\KorvexFluvane\\Current Version)</p>");
    const std::string c = f + "\\Current Version";
    line(std::string(kCourierParagraph) +
         "INSTALLATIONDIR:       " + machineValue(c, "INSTALLATIONDIR") + "<br>");
    line("INSTALLDATE:           " + machineValue(c, "INSTALLDATE") + "<br>");
    line("LOCALPATHNAME:         " + machineValue(c, "LOCALPATHNAME") + "<br>");
    line("PATHNAME:              " + machineValue(c, "PATHNAME") + "<br>");
    line("PLANDRYPATH:        " + machineValue(c, "PLANDRYPATH") + "<br>");
    line("VERSION:               " + machineValue(c, "VERSION") + "<br>");
    line("BUILD:                 " + machineValue(c, "BUILD") + "</p>");
}

void ReportWriter::writeFamilyG() {
    const std::string g = kMotionKey;
    writeFamilyHeading(kIconFamilyG, "KorvexMotion");
    line(std::string(kBoldParagraph) +
         "Installed versions (HKLM\\Software\\Quorvane\\KorvexMotion\\200?)</p>");
    for (int year = 2003; year <= 2008; ++year) {
        const std::string key = g + "\\" + std::to_string(year);
        const std::string label = "Motion " + std::to_string(year) + " Install Dir:  ";
        line((year == 2003 ? std::string(kCourierParagraph) : std::string()) + label +
             machineValue(key, "Install Dir") + " - installed on: " + machineValue(key, "Date") +
             "<br>");
    }
    line("Motion Simulation 2009 Install Dir:  " + machineValue(g + "\\2009", "Install Dir") +
         " - installed on: " + machineValue(g + "\\2009", "Date") + "</p>");
    line(std::string(kBoldParagraph) +
         "Current version (HKLM\\Software\\Quorvane\\KorvexMotion\\Current Version)</p>");
    const std::string c = g + "\\Current Version";
    line(std::string(kCourierParagraph) +
         "INSTALLATIONDIR:       " + machineValue(c, "INSTALLATIONDIR") + "<br>");
    line("INSTALLDATE:           " + machineValue(c, "INSTALLDATE") + "<br>");
    line("LOCALPATHNAME:         " + machineValue(c, "LOCALPATHNAME") + "<br>");
    line("PLANDRYPATH:        " + machineValue(c, "PLANDRYPATH") + "<br>");
    line("VERSION:               " + machineValue(c, "VERSION") + " " +
         machineValue(c, "SERVICE PACK") + " (" + machineValue(c, "BUILD") + ")</p>");
}

// ---- CAD host block -----------------------------------------------------------

void ReportWriter::writePlandryInformation() {
    const std::optional<CadHostInfo> host = services_.cadHost.readInfo();
    line(kSectionRule);
    line(std::string(kBoldParagraph) + "Plandry Information" + "</p>");
    // Without the host the block keeps its lines, with empty values.
    line("<pre>Plandry Date Code:       " + (host ? signedText(host->dateCode) : std::string()));
    line("Plandry Revision Number:  " + (host ? htmlEscape(host->revisionNumber) : std::string()));
    for (int year = 2004; year <= 2009; ++year) {
        line(editionLine(year));
    }
    emptyLine();
    static const char* const kNote[] = {
        "(NOTE: How to read the Plandry Revision Number?",
        "Plandry prior to 2000 =>  1.0.  | Plandry 2005          => 13.0.",
        "Plandry 2000          =>  8.0.  | Plandry 2006          => 14.0.",
        "Plandry 2001          =>  9.0.  | Plandry 2007          => 15.0.",
        "Plandry 2001Plus      => 10.0.  | Plandry 2008          => 16.0.",
        "Plandry 2003          => 11.0.  | Plandry 2009          => 17.0.",
        "Plandry 2004          => 12.0.  | Plandry 2010          => ...",
        "Etc.</pre>",
    };
    std::string note;
    for (const char* part : kNote) {
        note += part;
        note += "\r\n";
    }
    line(note);
}

std::string ReportWriter::editionLine(int year) {
    const std::string prefix = "Plandry " + std::to_string(year) + " Installed version: ";
    RegValue value;
    services_.registry.query("HKLM",
                             "Software\\Plandry\\Plandry " + std::to_string(year) + "\\Setup",
                             "Plandry Office Installed", "D", RegValue(std::int32_t{12345}), value);
    const auto* edition = std::get_if<std::int32_t>(&value);
    switch (edition != nullptr ? *edition : 12345) {
        case 0:
            return prefix + (year == 2009 ? "Plandry Standard" : "Plandry");
        case 1:
            return prefix + "Plandry Office";
        case 2:
            return prefix + "Plandry Office Professional";
        case 3:
            return prefix + "Plandry Office Premium";
        default:
            return prefix + "N/A";
    }
}

}  // namespace sysreport
