#pragma once
class CheckedTableModel;
class QTableView;

// The look every list of the main window shares: grid lines, whole rows selected one at a
// time, no editing, fixed row heights (the view never measures thousands of rows), clickable
// headers, and the model's column widths (a width of 1 keeps a column practically invisible).
void qevSetUpListView(QTableView& view, CheckedTableModel& model);
