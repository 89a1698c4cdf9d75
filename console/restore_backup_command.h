#pragma once

class CSorrelmedeDlg;

// The restore command of the "更多功能" menu: the operator picks a backup directory of a
// cleaning pass, confirms, and its entries go back to their places; the summary lists what
// stayed in the backup tree, and the record list reloads to show the rows back as "未处理".
void qevRunRestoreBackupCommand(CSorrelmedeDlg& window);
