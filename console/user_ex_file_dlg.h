#pragma once
#include "console/confirm_texts_dlg.h"

// "白名单文件": the paths about to be added to the whitelist, confirmed with "加入白名单" (1077).
class CUserExFileDlg : public ConfirmTextsDlg {
  Q_OBJECT

 public:
  CUserExFileDlg(Prompter& prompter, const std::vector<std::string>& paths, QWidget* parent = nullptr);
};
