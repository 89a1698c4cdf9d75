#pragma once

// Every text the scanner shows on its console, writes to its run log or reports to the system log.
namespace scanner_text {

inline constexpr const char* kProgramName = "Sorrelscan";
inline constexpr const char* kCommand = "/FileScan";
inline constexpr const char* kScanListFile = "ScanDir.txt";
inline constexpr const char* kRefreshFlagKey = "refscanlog";

inline constexpr const char* kNoArgument = "\r\n未输入启动参数，运行失败！";
inline constexpr const char* kNullArgument = "\r\n输入的启动参数有错误（argv[1] == NULL），运行失败！";
inline constexpr const char* kUnknownCommand = "\r\n输入的启动参数有错误，命令未知，运行失败！";
inline constexpr const char* kModuleNameFailed =
    "\r\n函数 GetModuleFileName( NULL, szPathTemp, sizeof(szPathTemp)) 失败！";
inline constexpr const char* kStoreFailed = "\r\n读取数据库时发生错误，请重试！";
inline constexpr const char* kNoScanDirectory =
    "\r\n未设置需要扫描的目录，例如“d:\\home”，请设置一个需要扫描的目录！";

// "━" is three bytes in UTF-8.
inline constexpr const char* kHeavyLine = "━";
inline constexpr int kRunLogSeparatorLength = 49;
inline constexpr int kBannerWidth = 22;
inline constexpr const char* kBannerTitle = "\r\n┃   Sorrelwall·特殊文件扫描服务   ┃";

inline constexpr const char* kScanRootLine = "当前填写的扫描目录 ";   // + "%d - %s"
inline constexpr const char* kProgressFile = "\r\n扫描文件 ";          // + "%u - %s ..."
inline constexpr const char* kProgressDirectory = "\r\n扫描目录 ";     // + "%u - %s ..."
inline constexpr const char* kCloseWindow = "\r\n请关闭当前窗口...";

// A scan root or a directory below it that was not walked, on the console and in the run log:
// kNotWalked + path + "（" + reason + "）".
inline constexpr const char* kNotWalked = "\r\n警告：未能扫描目录 ";
inline constexpr const char* kRootRelative = "不是以“/”开头的绝对路径";
inline constexpr const char* kRootMissing = "不存在";
inline constexpr const char* kRootNotDirectory = "不是目录";
inline constexpr const char* kRootInaccessible = "无法访问";
inline constexpr const char* kRootTooLong = "路径超过 259 个字节";
inline constexpr const char* kRootBeyondLimit = "最多扫描 999 个目录";
inline constexpr const char* kDirectoryUnreadable = "无法打开或读取";
// Closes the summary when directories were not walked: kNotWalkedCount + "%u" + kNotWalkedCountEnd.
inline constexpr const char* kNotWalkedCount = "\r\n\r\n未能扫描的目录 ";
inline constexpr const char* kNotWalkedCountEnd = " 个，见上面的警告或运行日志 __Sorrelscan.log";

// Stored instead of a name or path that is empty.
inline constexpr const char* kNameReadError = "（读取文件名时发生错误！）";
inline constexpr const char* kNotHandled = "未处理";
// Run-log line for a row that the data store would not take, followed by the entry's path.
inline constexpr const char* kRowNotRecorded = "写入数据库失败，未记录的特殊文件：";

}  // namespace scanner_text
