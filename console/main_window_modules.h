#pragma once
#include "console/sorrelmede_dlg.h"

// What other modules add to the main window: the bodies of the scan watcher and the cleaning
// worker, and the handlers of the commands they own (scan, clean, stop cleaning...), registered
// with setCommandHandler. Until those modules exist, both threads start, take their parameter
// block and end at once, and those commands do nothing.
CSorrelmedeDlg::Workers qevMainWindowWorkers();
void qevInstallModuleCommands(CSorrelmedeDlg& window);
