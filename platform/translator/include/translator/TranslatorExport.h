#pragma once

#if defined(OLM_TRANSLATOR_BUILDING)
#define OLM_TRANSLATOR_API __attribute__((visibility("default")))
#else
#define OLM_TRANSLATOR_API
#endif
