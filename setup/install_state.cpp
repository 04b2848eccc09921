// The one process-wide InstallState record; every field starts zero or empty.
#include "setup/install_state.h"

InstallState installState;
