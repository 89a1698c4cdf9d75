#include "console/sorrelmede_app.h"

#include <QApplication>

#include "common/messages/event_report.h"
#include "console/app_icon.h"
#include "console/main_window_modules.h"
#include "console/qt_translations.h"
#include "console/sorrelmede_dlg.h"
#include "console/window_texts.h"

int CSorrelmedeApp::run(int argc, char** argv) {
  qevSetEventSource(kApplicationName);
  QApplication application(argc, argv);
  QApplication::setApplicationName(kApplicationName);
  qevInstallQtTranslations(application);
  QApplication::setWindowIcon(qevApplicationIcon());
  CSorrelmedeDlg window(nullptr, qevMainWindowWorkers());
  qevInstallModuleCommands(window);
  window.exec();
  return 0;
}
