#pragma once

// Symbol visibility of the portability library: built with hidden visibility,
// so everything callers use is marked here.
#if defined(PAL_BUILDING)
#define PAL_API __attribute__((visibility("default")))
#else
#define PAL_API
#endif
