#pragma once
#include <string>

#include "common/threads/guarded_value.h"

class Prompter;

// The two maintenance requests of the record list: check that recorded files exist, and delete
// duplicate records. Each is a 0/1 flag with its own lock. Nothing in the program acts on them
// yet: the commands only set and clear the flags, after asking the operator.
GuardedValue<int>& qevCheckFilesRequest();
GuardedValue<int>& qevDeleteDuplicatesRequest();

inline constexpr const char* kCheckFilesRunningQuestion =
    "当前正在校验日志文件\r\n\r\n在日志文件比较多的时候，检查硬盘文件是否存在可能需要几分钟时间。\r\n\r\n\r\n"
    "继续等待校验日志文件，请点“确定”\r\n\r\n如果需要放弃校验日志文件，请点“取消”";
inline constexpr const char* kCheckFilesQuestion =
    "确认检查数据库中日志记录的文件是否存在吗？\r\n\r\n\r\n在日志文件比较多的时候，检查硬盘文件是否存在可能需要几分钟时间。";
inline constexpr const char* kDeleteDuplicatesRunningQuestion =
    "当前正在删除数据库中的重复记录！\r\n\r\n在数据库记录较多的时候，可能需要几分钟时间。\r\n\r\n\r\n"
    "继续等待，请点“确定”\r\n\r\n如果需要放弃，请点“取消”";
inline constexpr const char* kDeleteDuplicatesQuestion =
    "确定删除数据库中的重复记录吗？\r\n\r\n\r\n在记录数较多的时候，可能需要几分钟时间。";

// Command 1052.
void qevRequestCheckFiles(Prompter& prompter);
// Command 1067. Answers true when the request was just raised (the caller empties the preview).
bool qevRequestDeleteDuplicates(Prompter& prompter);
