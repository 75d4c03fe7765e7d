#pragma once

#include "pal/PalExport.h"
#include "pal/String.h"

namespace Pal {

// Values of the installed software.
class PAL_API Version {
public:
    // "version" gives the project's version; any other key gives "".
    static String getValue(const char* key);
};

}  // namespace Pal
