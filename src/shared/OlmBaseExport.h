#pragma once

// Symbol visibility of libOlm_Base: the library is built with hidden
// visibility, so every class that concrete wizards use is marked here.
#if defined(OLM_BASE_BUILDING)
#define OLM_BASE_EXPORT __attribute__((visibility("default")))
#else
#define OLM_BASE_EXPORT
#endif
