// Settings loader: fills InstallState from the setup information file, the user's shell
// folders and the registry, and refuses a conflicting uninstall registration.
#pragma once

// True to go on; false after the user has been told why (message 1 or 2).
bool LoadSetupInformation();
