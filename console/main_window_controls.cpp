#include "console/main_window_controls.h"

#include <array>

#include "console/command_ids.h"

namespace {

using namespace command_id;
constexpr ControlKind B = ControlKind::Button;

constexpr std::array kControls = {
    // The operator's row of buttons.
    ControlSpec{kScan, B, "扫描特殊带点文件", true, 12, 46, 140, 30},
    ControlSpec{kClean, B, "清理选择文件", true, 160, 46, 110, 30},
    ControlSpec{kStopCleaning, B, "停止清理文件", true, 278, 46, 110, 30},
    ControlSpec{kRefresh, B, "刷新记录", true, 396, 46, 90, 30},
    ControlSpec{kClearRecords, B, "清空记录", true, 494, 46, 90, 30},
    ControlSpec{kCheckAll, B, "全选 √", true, 592, 46, 90, 30},
    ControlSpec{kUncheckAll, B, "清除已选 √", true, 690, 46, 100, 30},
    ControlSpec{kVendorWebSite, B, "官方网站", true, 898, 46, 90, 30},
    // Functions reached by id only: created hidden, most without a caption.
    ControlSpec{kCompact, B, "", false, 0, 0, 10, 10},
    ControlSpec{kReportSuspicious, B, "", false, 0, 0, 10, 10},
    ControlSpec{kWhitelist, B, "", false, 0, 0, 10, 10},
    ControlSpec{kShowWhitelistFiles, ControlKind::CheckBox, "显示白名单文件", false, 0, 0, 120, 20},
    ControlSpec{kShowSuspiciousFiles, ControlKind::CheckBox, "显示可疑文件", false, 0, 0, 120, 20},
    ControlSpec{kShowTrojanFiles, ControlKind::CheckBox, "显示木马类文件", false, 0, 0, 120, 20},
    ControlSpec{kMonitorRules, B, "", false, 0, 0, 10, 10},
    ControlSpec{kAlarmSettings, B, "", false, 0, 0, 10, 10},
    ControlSpec{kCheckFilesRequest, B, "", false, 0, 0, 10, 10},
    ControlSpec{kDeleteDuplicatesRequest, B, "", false, 0, 0, 10, 10},
    ControlSpec{kToday, B, "今天", false, 0, 0, 60, 24},
    ControlSpec{kYesterday, B, "昨天", false, 0, 0, 60, 24},
    ControlSpec{kLastThreeDays, B, "最近三天", false, 0, 0, 80, 24},
    ControlSpec{kLastWeek, B, "最近一周", false, 0, 0, 80, 24},
    ControlSpec{kAllTime, B, "全部时间段", false, 0, 0, 90, 24},
    ControlSpec{0, ControlKind::Group, "日志分析查询", false, 0, 0, 400, 120},
    ControlSpec{0, ControlKind::Label, "服务器IP", false, 0, 0, 80, 20},
    ControlSpec{kServerFilter, ControlKind::DropDown, "", false, 0, 0, 120, 24},
    ControlSpec{0, ControlKind::Label, "动作", false, 0, 0, 80, 20},
    ControlSpec{kActionFilter, ControlKind::DropDown, "", false, 0, 0, 120, 24},
    ControlSpec{0, ControlKind::Label, "文件类别", false, 0, 0, 80, 20},
    ControlSpec{kKindFilter, ControlKind::DropDown, "", false, 0, 0, 120, 24},
    ControlSpec{0, ControlKind::Label, "记录关键字", false, 0, 0, 80, 20},
    ControlSpec{kKeywordFilter, ControlKind::DropDown, "", false, 0, 0, 120, 24},
    ControlSpec{kRefillFilters, B, "← 刷新  ", false, 0, 0, 80, 24},
    ControlSpec{kFilterDefaults, B, "← 默认值", false, 0, 0, 80, 24},
    ControlSpec{kServerManagement, B, "", false, 0, 0, 10, 10},
    ControlSpec{kDownloadLogs, B, "", false, 0, 0, 10, 10},
    ControlSpec{kDownloadAgain, B, "", false, 0, 0, 10, 10},
    ControlSpec{kStopDownload, B, "", false, 0, 0, 10, 10},
    ControlSpec{kDownloadStatus, B, "", false, 0, 0, 10, 10},
    ControlSpec{kNoAction, B, "", false, 0, 0, 10, 10},
};

}  // namespace

std::span<const ControlSpec> qevMainWindowControls() { return kControls; }
