#include "console/report_file_dlg.h"

namespace {
constexpr ConfirmTextsDlg::Look kLook{"上报文件确认", 1, "确定上报可疑文件", "确定上报选择的可疑文件吗？", 102400};
}

CReportFileDlg::CReportFileDlg(Prompter& prompter, const std::vector<std::string>& paths, QWidget* parent)
    : ConfirmTextsDlg(prompter, kLook, paths, parent) {}
