#pragma once
#include "console/confirm_texts_dlg.h"

// "上报文件确认": the suspicious files about to be reported, confirmed with "确定上报可疑文件" (1).
class CReportFileDlg : public ConfirmTextsDlg {
  Q_OBJECT

 public:
  CReportFileDlg(Prompter& prompter, const std::vector<std::string>& paths, QWidget* parent = nullptr);
};
