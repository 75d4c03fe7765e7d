#include "pal/Version.h"

#include "pal/StrUtil.h"

#ifndef PAL_PROJECT_VERSION
#error "PAL_PROJECT_VERSION must be defined by the build"
#endif

namespace Pal {

String Version::getValue(const char* key) {
    if (StrUtil::Compare(key, "version") == 0) return String(PAL_PROJECT_VERSION);
    return String();
}

}  // namespace Pal
