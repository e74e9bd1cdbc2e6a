// The texts of sysreport's windows and menus, shared by both front ends so that
// captions and access keys stay the same everywhere.
#pragma once

namespace sysreport::texts {

// frmSysInformation
inline constexpr const char* kInstructionsLabel = "Instructions:";  // Label1
inline constexpr const char* kInstructions =                        // Label2
    "Click View/Save to a file to save a text file which you can then email to your Tech "
    "Support contact. As an alternative, you can enter the email address you want in the above "
    "field and click Email the saved file.";
inline constexpr const char* kEmailToLabel = "Email To:";  // lblEmailTo
inline constexpr const char* kSaveButton = "View/&Save to a file";
inline constexpr const char* kEmailButton = "&Email the saved file";
inline constexpr const char* kExitButton = "E&xit";
inline constexpr const char* kSystemRunning = "System Running";  // until start-up replaces it

// Menus of the main window.
inline constexpr const char* kFileMenu = "&File";
inline constexpr const char* kSaveItem = "View/&Save to a file";
inline constexpr const char* kEmailItem = "&Email the saved file";
inline constexpr const char* kExitItem = "E&xit";
inline constexpr const char* kToolsMenu = "&Tools";
inline constexpr const char* kChangeDefaultItem = "Change Default";
inline constexpr const char* kHelpMenu = "&Help";
inline constexpr const char* kAboutItem = "&About sysreport";

// frmChangeDefault
inline constexpr const char* kChangeDefaultCaption = "Change Default Values";
inline constexpr const char* kDefaultEmailLabel = "Default Email:";
inline constexpr const char* kOkButton = "OK";
inline constexpr const char* kCancelButton = "Cancel";

// frmAbout
inline constexpr const char* kSystemInfoButton = "&System Info...";

}  // namespace sysreport::texts
