#include "console/main_window_controls.h"

#include <array>

#include "console/command_ids.h"

namespace {

using namespace command_id;
constexpr ControlKind B = ControlKind::Button;

constexpr std::array kControls = {
    // The operator's row of buttons.
    ControlDefinition{kScan, B, "扫描特殊带点文件", true, 12, 46, 140, 30},
    ControlDefinition{kClean, B, "清理选择文件", true, 160, 46, 110, 30},
    ControlDefinition{kStopCleaning, B, "停止清理文件", true, 278, 46, 110, 30},
    ControlDefinition{kRefresh, B, "刷新记录", true, 396, 46, 90, 30},
    ControlDefinition{kClearRecords, B, "清空记录", true, 494, 46, 90, 30},
    ControlDefinition{kCheckAll, B, "全选 √", true, 592, 46, 90, 30},
    ControlDefinition{kUncheckAll, B, "清除已选 √", true, 690, 46, 100, 30},
    ControlDefinition{kVendorWebSite, B, "官方网站", true, 898, 46, 90, 30},
    // Functions reached by id only: created hidden, most without a caption.
    ControlDefinition{kCompact, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kReportSuspicious, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kWhitelist, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kShowWhitelistFiles, ControlKind::CheckBox, "显示白名单文件", false, 0, 0, 120, 20},
    ControlDefinition{kShowSuspiciousFiles, ControlKind::CheckBox, "显示可疑文件", false, 0, 0, 120, 20},
    ControlDefinition{kShowTrojanFiles, ControlKind::CheckBox, "显示木马类文件", false, 0, 0, 120, 20},
    ControlDefinition{kMonitorRules, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kAlarmSettings, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kCheckFilesRequest, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kDeleteDuplicatesRequest, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kToday, B, "今天", false, 0, 0, 60, 24},
    ControlDefinition{kYesterday, B, "昨天", false, 0, 0, 60, 24},
    ControlDefinition{kLastThreeDays, B, "最近三天", false, 0, 0, 80, 24},
    ControlDefinition{kLastWeek, B, "最近一周", false, 0, 0, 80, 24},
    ControlDefinition{kAllTime, B, "全部时间段", false, 0, 0, 90, 24},
    // The log query: the monitor-log view lays these out in its group "日志分析查询".
    ControlDefinition{kServerFilter, ControlKind::DropDown, "", false, 0, 0, 120, 24},
    ControlDefinition{kActionFilter, ControlKind::DropDown, "", false, 0, 0, 120, 24},
    ControlDefinition{kKindFilter, ControlKind::DropDown, "", false, 0, 0, 120, 24},
    ControlDefinition{kKeywordFilter, ControlKind::DropDown, "", false, 0, 0, 120, 24},
    ControlDefinition{kRefillFilters, B, "← 刷新  ", false, 0, 0, 80, 24},
    ControlDefinition{kFilterDefaults, B, "← 默认值", false, 0, 0, 80, 24},
    ControlDefinition{kServerManagement, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kDownloadLogs, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kDownloadAgain, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kStopDownload, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kDownloadStatus, B, "", false, 0, 0, 10, 10},
    ControlDefinition{kNoAction, B, "", false, 0, 0, 10, 10},
};

}  // namespace

std::span<const ControlDefinition> qevMainWindowControls() { return kControls; }
