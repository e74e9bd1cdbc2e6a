// Program identity and the build-time texts of the support report tool.
#pragma once

namespace sysreport {

inline constexpr const char* kAppTitle = "sysreport";
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 4;
inline constexpr int kVersionRevision = 4;
inline constexpr const char* kReportFileName = "Simulation Product Info.htm";

#ifndef SYSREPORT_LEGAL_NOTICE
#define SYSREPORT_LEGAL_NOTICE "Copyright (C) Quorvane. All rights reserved."
#endif
#ifndef SYSREPORT_SUPPORT_ADDRESS
#define SYSREPORT_SUPPORT_ADDRESS "support@korvex.example"
#endif

// Legal notice of the maker, shown in the report header.
inline constexpr const char* kLegalNotice = SYSREPORT_LEGAL_NOTICE;
// Address the report is mailed to unless the user types another.
inline constexpr const char* kDefaultSupportAddress = SYSREPORT_SUPPORT_ADDRESS;

}  // namespace sysreport
