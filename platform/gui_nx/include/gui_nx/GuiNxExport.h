#pragma once

// Symbol visibility of the wizard GUI library: built with hidden visibility,
// so everything callers use is marked here.
#if defined(NX_BUILDING)
#define NX_API __attribute__((visibility("default")))
#else
#define NX_API
#endif
