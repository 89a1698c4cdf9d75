#include "console/user_ex_file_dlg.h"

namespace {
constexpr ConfirmTextsDlg::Look kLook{"白名单文件", 1077, "加入白名单", "确定对选择的文件进行批量加入白名单吗？", 1024000};
}

CUserExFileDlg::CUserExFileDlg(Prompter& prompter, const std::vector<std::string>& paths, QWidget* parent)
    : ConfirmTextsDlg(prompter, kLook, paths, parent) {}
