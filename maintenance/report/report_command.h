#pragma once
#include <vector>

#include "maintenance/report/view_row.h"
#include "maintenance/report/whitelist_command.h"

class Prompter;

// The report sender, a companion program beside the programs, started with "/s".
inline constexpr const char* kReportSenderExeName = "qevFileScanReport";
inline constexpr const char* kReportSenderArgument = "/s";

inline constexpr const char* kReportAllQuestion = "当前未选择“可疑类”文件，确定上报所有“可疑类”文件吗？";
inline constexpr const char* kReportNothingSuspiciousMessage = "当前无“可疑类”类文件，暂时不需要上报！";
inline constexpr const char* kReportStartedMessage =
    "系统将自动上报已选择的可疑类文件！\r\n\r\n我们收到后，将对文件进行进一步分析处理！";
inline constexpr const char* kReportAlreadyDoneMessage = "本次选择的文件，在此之前已经上报过！";
inline constexpr const char* kReportFailedMessage = "系统上报文件时发生错误，请重试！";

// The report command over the rows of the monitor-log view. Takes the checked rows of the
// suspicious category (or, after the operator's Yes, every such row when none is checked) whose
// path is 1..32,767 bytes, shows their paths for confirmation, prepares the report of their keys
// and starts the report sender without waiting when there is something to send. Every outcome
// is told to the operator. True when the sender was started.
bool qevReportSuspiciousFiles(Prompter& prompter, const std::vector<ViewRow>& rows,
                              const TextsConfirmation& confirm);
