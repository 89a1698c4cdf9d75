#include "console/main_window_workers.h"

CSorrelmedeDlg::Workers qevMainWindowWorkers() { return {}; }
