// Install wizard (placeholder until the wizard lands).
#include "wizard/wizard.h"

void RunInstallWizard() {}
