#pragma once

#include "devinfo/DevInfoExport.h"

#include <string>
#include <vector>

// DevSpec: where the installed device and wizard data of this installation
// lives (the device-data lookup).
//
// Data files are looked up first in the folders of the environment variable
// OLMW_DATA_PATH (colon-separated, in order; empty entries are skipped), then
// in the data folder: the folder named by OLMW_DATA_DIR when it is set and
// not empty, otherwise the data folder of the installation that holds this
// library (the same place relative to the library in the build tree and once
// installed). The first folder that holds the file wins.
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

    // The data folder (OLMW_DATA_DIR or the installation's; see above),
    // without a trailing '/'. Empty when it cannot be determined.
    static const char* getdatadir();
    // Every folder searched for data files, in the order of the search: the
    // folders of OLMW_DATA_PATH, then the data folder (left out when it
    // cannot be determined). Each without a trailing '/'.
    static std::vector<std::string> getdatafolders();
};
