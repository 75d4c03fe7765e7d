#pragma once

#include "devinfo/DevInfoExport.h"

// DevSpec: where the installed device and wizard data of this installation
// lives (the device-data lookup).
//
// Data files are looked up in the folder named by the environment variable
// OLMW_DATA_DIR when it is set and not empty, otherwise in the data folder of
// the installation that holds this library (the same place relative to the
// library in the build tree and once installed).
class DEVINFO_API DevSpec {
public:
    DevSpec() = default;
    virtual ~DevSpec();

    // The full path of an installed data file, or null when the file is not
    // there (or fileName is null or empty).
    //   kind     - which data is meant; 0 is the wizard data (the only kind).
    //   fileName - the short file name, for example "olm_tkl.dev".
    //   installed - 1 looks in the installation's data folder.
    //   index    - the device index the data belongs to; -1 for any.
    // The text is owned by the library and stays valid until the process
    // ends: callers copy it and never free it. Asking twice for the same
    // path returns the same storage, so repeated lookups do not grow memory.
    char* getdatafilename(char kind, const char* fileName, unsigned char installed, int index);

    // The folder searched for data files (see above), without a trailing '/'.
    // Empty when it cannot be determined.
    static const char* getdatadir();
};
