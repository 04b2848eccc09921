// Deferred deletion of a file at the next restart of the system.
#pragma once

void ScheduleDeleteOnReboot(const char* path);

// The fallback for systems without delayed deletion: a "NUL=" line in section "rename" of
// "wininit.ini". Called by ScheduleDeleteOnReboot when the platform refuses the delay.
void ScheduleDeleteInWininit(const char* path);
