#pragma once

// Symbol visibility of the device-data library: built with hidden
// visibility, so everything callers use is marked here.
#if defined(DEVINFO_BUILDING)
#define DEVINFO_API __attribute__((visibility("default")))
#else
#define DEVINFO_API
#endif
