#include "console/main_window_modules.h"

CSorrelmedeDlg::Workers qevMainWindowWorkers() { return {}; }

void qevInstallModuleCommands(CSorrelmedeDlg& /*window*/) {}
