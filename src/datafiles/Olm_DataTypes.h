#pragma once

#include "shared/OlmBaseExport.h"

#include <optional>
#include <string>
#include <vector>

// The data types beside the five that Olm_Data::DataFileName chooses: a
// wizard plugin registers the data file of each of its data types here, and
// Olm_Data reads it for a wizard type of that data type. The files are found
// like the others, through the device-data library's search path (the
// folders of OLMW_DATA_PATH first, then the data folder). The table is
// process-wide and safe to use from several threads.
class OLM_BASE_EXPORT Olm_DataTypes {
public:
    struct Entry {
        std::string type;    // the data type, for example "bram"
        std::string file;    // the short name of its data file, for example "olm_bram.dev"
        std::string origin;  // who registered it (a plugin file), for messages and listings
    };

    // Registers a data type. "" when it is registered, else why not:
    //  - the type is empty or has a character other than a letter, digit or
    //    '_', or its first three characters are those of a built-in type
    //    ("tkl", "hsx", "dsp", "ssi"), which always choose the built-in file;
    //  - the file name is empty, or names a folder ('/') or ".." ;
    //  - the type is registered already (letter case does not count), unless
    //    with the same file, which is no conflict.
    static std::string Register(const Entry& entry);
    // Forgets every registered type.
    static void Clear();
    // Every registered type, in the order of registration.
    static std::vector<Entry> Registered();

    // The registered entry of a wizard type: the type itself, or the longest
    // registered type that is the wizard type's beginning followed by '_'
    // ("bram" for "bram_fifo"); letter case does not count. None when no
    // registered type matches.
    static std::optional<Entry> Find(const std::string& wizType);
    // The short name of the data file of a wizard type: the built-in table
    // (Olm_Data::DataFileName) first, then the registered types; "" for none.
    static std::string FileOf(const std::string& wizType, const std::string& family);

    // Hands the found paths of the registered data files down to the child
    // processes this process starts (olmwiz-hdl, which loads no plugin, takes
    // primitives from them): sets OLMW_REGISTERED_DATA_FILES (colon-
    // separated). A registered file that is not found is left out.
    static void HandDown();
    // The paths handed down by the parent process (HandDown); empty when none.
    static std::vector<std::string> HandedDownFiles();

    // Every folder searched for data files, in order, joined with ", ".
    static std::string FoldersSearched();
    // Why a wizard type has no data file: "no data file is known for the
    // wizard type 'T' (built-in types: ...; registered: ...); the data folders
    // searched: ...".
    static std::string UnknownTypeText(const std::string& wizType);
    // Why the data file of a wizard type is not found: "the data file 'F' of
    // the wizard type 'T' is in none of the data folders searched: ...".
    static std::string MissingFileText(const std::string& wizType, const std::string& file);
};
