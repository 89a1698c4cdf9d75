#pragma once
#include <string>
#include <vector>

#include "maintenance/restore/restore_pass.h"

class Prompter;

// The restore command of both front ends: checks the directory, asks the operator (not for a
// dry run) and restores; refusals and failures reach the operator through the Prompter, the
// summary is the front end's to show (qevRestoreSummaryText), with the entries that stayed as it
// lists them. onItem of the hooks sees every entry as it is decided. Answers 1 when the tree was
// worked through (result holds the counts), 0 when the directory was refused or the data store
// failed (the operator was told, nothing changed), 2 when the operator did not confirm (nothing
// changed).
int qevRunRestoreCommand(Prompter& prompter, const std::string& directory, bool dryRun, const RestoreHooks& hooks,
                         RestoreResult& result);

// "恢复文件完成。成功恢复 N 个；未恢复 M 个（...）。" (or the dry run's summary).
std::string qevRestoreSummaryText(const RestoreResult& result, bool dryRun);

// One line about an entry: its outcome and its place (restored) or backup path (left).
std::string qevRestoreItemText(const RestoreItem& item);

// The lines of the entries that stayed in the backup tree, at most limit of them, then
// "……另有 N 个" for the rest; "" when none stayed.
std::string qevRestoreLeftText(const std::vector<RestoreItem>& items, std::size_t limit);

inline constexpr const char* kRestoreStoreFailedMessage = "读取数据库时发生错误，请重试！";
