// Settings loader (placeholder until the loader lands): refuses every file.
#include "setup/settings.h"

#include "base/messages.h"
#include "res/resource.h"

bool LoadSetupInformation()
{
    ShowMessage(nullptr, IDS_NO_INFORMATION, nullptr, MB_ICONERROR);
    return false;
}
