#include "console/more_commands_menu.h"

#include <QAbstractButton>
#include <QMenu>
#include <array>

#include "console/command_ids.h"
#include "console/sorrelmede_dlg.h"

namespace {

using namespace command_id;
constexpr MoreCommand kSeparator{nullptr, 0};

constexpr std::array kMoreCommands = {
    MoreCommand{"压缩数据库文件", kCompact},
    MoreCommand{"从备份目录恢复文件", kRestoreBackup},
    MoreCommand{"文件监控规则设置", kMonitorRules},
    MoreCommand{"监控报警设置", kAlarmSettings},
    kSeparator,
    MoreCommand{"加入白名单", kWhitelist},
    MoreCommand{"上报可疑文件", kReportSuspicious},
    MoreCommand{"显示白名单文件", kShowWhitelistFiles},
    MoreCommand{"显示可疑文件", kShowSuspiciousFiles},
    MoreCommand{"显示木马类文件", kShowTrojanFiles},
    kSeparator,
    MoreCommand{"显示今天的记录", kToday},
    MoreCommand{"显示昨天的记录", kYesterday},
    MoreCommand{"显示最近三天的记录", kLastThreeDays},
    MoreCommand{"显示最近一周的记录", kLastWeek},
    MoreCommand{"显示全部时间段的记录", kAllTime},
    kSeparator,
    MoreCommand{"检查记录的文件是否存在", kCheckFilesRequest},
    MoreCommand{"删除重复记录", kDeleteDuplicatesRequest},
    kSeparator,
    MoreCommand{"服务器管理", kServerManagement},
    MoreCommand{"下载日志", kDownloadLogs},
    MoreCommand{"清空并重新下载日志", kDownloadAgain},
    MoreCommand{"停止下载", kStopDownload},
    MoreCommand{"下载状态", kDownloadStatus},
    MoreCommand{"重新导入日志", kReimportLogs},
    MoreCommand{"查看监控日志记录", kShowLogRows},
};

QAbstractButton* checkableControl(const CSorrelmedeDlg& window, int id) {
  auto* button = qobject_cast<QAbstractButton*>(window.control(id));
  return button != nullptr && button->isCheckable() ? button : nullptr;
}

void bringUpToDate(const CSorrelmedeDlg& window, QMenu& menu) {
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    const int id = action->data().toInt();
    action->setEnabled(window.hasCommandHandler(id));
    if (QAbstractButton* box = checkableControl(window, id)) {
      action->setCheckable(true);
      action->setChecked(box->isChecked());
    }
  }
}

}  // namespace

std::span<const MoreCommand> qevMoreCommands() { return kMoreCommands; }

QMenu* qevCreateMoreCommandsMenu(CSorrelmedeDlg& window) {
  auto* menu = new QMenu(&window);
  for (const MoreCommand& command : qevMoreCommands()) {
    if (command.caption == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromUtf8(command.caption));
    action->setData(command.id);
    const int id = command.id;
    QObject::connect(action, &QAction::triggered, &window, [&window, id](bool checked) {
      if (QAbstractButton* box = checkableControl(window, id)) box->setChecked(checked);
      window.dispatchCommand(id);
    });
  }
  QObject::connect(menu, &QMenu::aboutToShow, menu, [&window, menu] { bringUpToDate(window, *menu); });
  bringUpToDate(window, *menu);
  return menu;
}
