#pragma once

class QCoreApplication;

// Installs Qt's own Chinese texts (qtbase_zh_CN from Qt's translations folder), so the standard
// dialogs (folder picker, message-box buttons) speak the window's language. False when the
// catalogue is not installed: those dialogs then speak English.
bool qevInstallQtTranslations(QCoreApplication& application);
