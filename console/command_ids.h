#pragma once

// Control ids of the main window. A control's id is also the id of the command it gives.
namespace command_id {
inline constexpr int kServerManagement = 1001;
inline constexpr int kDownloadAgain = 1002;
inline constexpr int kShowLogRows = 1003;
inline constexpr int kStopDownload = 1015;
inline constexpr int kDownloadLogs = 1016;
inline constexpr int kReimportLogs = 1017;
inline constexpr int kRecordList = 1018;
inline constexpr int kPreviewPane = 1019;
inline constexpr int kServerFilter = 1023;
inline constexpr int kActionFilter = 1025;
inline constexpr int kKindFilter = 1027;
inline constexpr int kKeywordFilter = 1028;
inline constexpr int kToday = 1029;
inline constexpr int kYesterday = 1030;
inline constexpr int kLastThreeDays = 1031;
inline constexpr int kLastWeek = 1032;
inline constexpr int kFilterDefaults = 1033;
inline constexpr int kAllTime = 1034;
inline constexpr int kDownloadStatus = 1035;
inline constexpr int kTitleText = 1036;
inline constexpr int kRefillFilters = 1045;
inline constexpr int kRefresh = 1047;
inline constexpr int kClean = 1048;
inline constexpr int kCompact = 1050;
inline constexpr int kClearRecords = 1051;
inline constexpr int kCheckFilesRequest = 1052;
inline constexpr int kMonitorRules = 1053;
inline constexpr int kNoAction = 1059;
inline constexpr int kWhitelist = 1061;
inline constexpr int kVendorWebSite = 1062;
inline constexpr int kProgressBar = 1064;
inline constexpr int kStopCleaning = 1065;
inline constexpr int kScan = 1066;
inline constexpr int kDeleteDuplicatesRequest = 1067;
inline constexpr int kUncheckAll = 1068;
inline constexpr int kShowTrojanFiles = 1072;
inline constexpr int kCheckAll = 1073;
inline constexpr int kShowWhitelistFiles = 1075;
inline constexpr int kShowSuspiciousFiles = 1076;
inline constexpr int kAlarmSettings = 1081;
inline constexpr int kHelpPane = 1082;
inline constexpr int kReportSuspicious = 1087;
inline constexpr int kOpenContainingFolder = 32777;
inline constexpr int kRestoreBackup = 32790;  // "更多功能": put a cleaning pass's entries back
}  // namespace command_id
