// Two-phase uninstall (placeholder until the uninstaller lands).
#include "uninstall/handoff.h"

void RequestUninstall() {}
void RunUninstallWorker() {}
