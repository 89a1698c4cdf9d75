#include "console/report_list.h"

#include <QHeaderView>
#include <QTableWidget>

void qevSetUpReportList(QTableWidget& list, std::span<const ReportColumn> columns) {
  list.setColumnCount(static_cast<int>(columns.size()));
  list.setShowGrid(true);
  list.setSelectionBehavior(QAbstractItemView::SelectRows);
  list.setEditTriggers(QAbstractItemView::NoEditTriggers);
  list.verticalHeader()->hide();
  list.verticalHeader()->setDefaultSectionSize(list.fontMetrics().height() + 6);
  list.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
    const ReportColumn& spec = columns[static_cast<std::size_t>(column)];
    list.setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromUtf8(spec.title)));
    list.setColumnWidth(column, spec.width);
  }
}
