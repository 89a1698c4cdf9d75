#pragma once
#include <span>

class QTableWidget;

// A list in report view as the dialogs show their rows: grid lines, whole rows selected, not
// editable, no row header, captions left-aligned, each column with its caption and width.
struct ReportColumn {
  const char* title;
  int width;
};

void qevSetUpReportList(QTableWidget& list, std::span<const ReportColumn> columns);
