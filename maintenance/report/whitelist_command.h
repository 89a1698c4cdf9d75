#pragma once
#include <functional>
#include <string>
#include <vector>

#include "maintenance/report/view_row.h"

class Prompter;

// Shows the texts for confirmation; true when the operator confirmed.
using TextsConfirmation = std::function<bool(const std::vector<std::string>& texts)>;

inline constexpr const char* kWhitelistNothingChosenMessage = "请先选择需要进行加入白名单的文件！";
inline constexpr const char* kWhitelistAddedMessage =
    "对所选文件批量加入白名单成功！\r\n\r\n\r\n下一步，重新开启“启动主动防御”后，新的配置即可生效！";

// The whitelist command: the paths of the checked rows (1..32,767 bytes, no line break) go,
// after confirmation, in front of config/FMExDir.txt, one per line, in list order, neither
// lower-cased nor de-duplicated. Then reload runs and success is reported. A config directory or
// file that cannot be used is told to the operator instead, and the file keeps its text.
// True when added.
bool qevAddToWhitelist(Prompter& prompter, const std::vector<ViewRow>& rows, const TextsConfirmation& confirm,
                       const std::function<void()>& reload);
