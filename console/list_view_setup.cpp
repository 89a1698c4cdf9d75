#include "console/list_view_setup.h"

#include <QHeaderView>
#include <QTableView>

#include "console/checked_table_model.h"

void qevSetUpListView(QTableView& view, CheckedTableModel& model) {
  view.setModel(&model);
  view.setShowGrid(true);
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setSortingEnabled(false);
  view.setWordWrap(false);
  view.verticalHeader()->hide();
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
  QHeaderView* header = view.horizontalHeader();
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(1);
  for (int column = 0; column < model.columnCount(); ++column) view.setColumnWidth(column, model.widthOf(column));
}
