#include "console/folder_picker.h"

#include <QFileDialog>

namespace {

FolderPicker& testPicker() {
  static FolderPicker picker;
  return picker;
}

}  // namespace

void qevSetFolderPickerForTesting(FolderPicker picker) { testPicker() = std::move(picker); }

int qevBrowseFolder(QWidget* parent, std::string& path) {
  path.clear();
  if (testPicker()) return testPicker()(parent, path);
  const QString chosen = QFileDialog::getExistingDirectory(parent, QString(), QString(), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return 0;
  path = chosen.toStdString();
  return 1;
}
