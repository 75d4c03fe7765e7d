#pragma once

// Points the device-data library (OLMW_DATA_DIR) at a folder for the life of
// an object: a scratch folder of data files written by a test, or, with an
// empty folder name, the build tree's installed data.

#include <cstdlib>
#include <string>

namespace olmtest {

class DataDirOverride {
public:
    explicit DataDirOverride(const std::string& dir) {
        if (const char* old = std::getenv("OLMW_DATA_DIR")) {
            m_had = true;
            m_old = old;
        }
        Set(dir);
    }
    ~DataDirOverride() { Set(m_had ? m_old : std::string()); }
    DataDirOverride(const DataDirOverride&) = delete;
    DataDirOverride& operator=(const DataDirOverride&) = delete;

private:
    static void Set(const std::string& dir) {
        if (dir.empty()) {
            ::unsetenv("OLMW_DATA_DIR");
        } else {
            ::setenv("OLMW_DATA_DIR", dir.c_str(), 1);
        }
    }

    bool m_had = false;
    std::string m_old;
};

}  // namespace olmtest
