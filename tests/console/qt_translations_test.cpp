// Qt's own Chinese texts: the standard buttons of a message box and the folder picker's labels.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>

#include "console/main_window_fixture.h"
#include "console/qt_translations.h"

namespace {

TEST(QtTranslations, StandardDialogsSpeakChinese) {
  ASSERT_TRUE(qevInstallQtTranslations(testApplication()));
  QMessageBox box(QMessageBox::Question, "t", "x", QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Yes)->text().toStdString(), "是(&Y)");
  EXPECT_EQ(box.button(QMessageBox::No)->text().toStdString(), "否(&N)");
  EXPECT_EQ(box.button(QMessageBox::Ok)->text().toStdString(), "确定");
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text().toStdString(), "取消");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Choose").toStdString(), "选择(&C)");
}

}  // namespace
