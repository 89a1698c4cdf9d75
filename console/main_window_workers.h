#pragma once
#include "console/sorrelmede_dlg.h"

// The bodies of the scan watcher and the cleaning worker that the program starts with its main
// window. Both come with the scan and cleaning module; until then the threads start, take their
// parameter block and end at once.
CSorrelmedeDlg::Workers qevMainWindowWorkers();
