#pragma once

#if defined(OLM_ENGINE_BUILDING)
#define OLM_ENGINE_API __attribute__((visibility("default")))
#else
#define OLM_ENGINE_API
#endif
