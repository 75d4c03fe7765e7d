#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

class Olm_WizData;

// Turns a wizard type and a device family into a loaded wizard-data
// container: chooses the installed data file of the wizard type, finds it
// through the device-data library and reads it. Owns the container it read
// until it is destroyed; a caller that keeps the container copies it or takes
// it with SetWizData(nullptr) first.
class OLM_BASE_EXPORT Olm_Data {
public:
    Olm_Data();
    // The destructor deletes the container, so a copy would delete it twice.
    Olm_Data(const Olm_Data&) = delete;
    Olm_Data& operator=(const Olm_Data&) = delete;
    ~Olm_Data();

    Olm_WizData* GetWizData() const { return m_wizData; }
    // Replaces the pointer; the container held before is not deleted.
    void SetWizData(Olm_WizData* wizData) { m_wizData = wizData; }

    // The installed data file of a wizard type, by the type's first three
    // characters: "tkl" olm_tkl.dev; "hsx" olm_hsx11.dev for the family
    // korvo4 and olm_hsx.dev for every other; "dsp" olm_dsp.dev; "ssi"
    // olm_ssio.dev. Letter case does not count. Null for any other type.
    static const char* DataFileName(const Pal::String& wizType, const Pal::String& family);
    // The installed path of a data file, through the device-data library's
    // search path (OLMW_DATA_PATH, then the data folder); false (path
    // untouched) when the file is not installed. Reports nothing.
    bool GetDataFileName(const char* fileName, Pal::String& path);
    // Chooses, finds and reads the installed data file of the wizard type (the
    // family matters only for transceiver wizards) into a new container. A
    // type the table above does not know takes the data file registered for
    // it (Olm_DataTypes::Find), if any; the errors are the same. The
    // container of an earlier call is deleted first. On a read failure the
    // partly filled container stays until this object is destroyed.
    bool ReadDataFile(Pal::String wizType, Pal::String family);

    // Writes this object's container to a dump file; see the static form.
    void DumpDataFile(const char* fileName);
    // Writes the container in the data-file format to fileName, or to
    // "olmwtest.dmp" in the working directory for a null name. Nothing happens
    // for a null container or when the file cannot be opened.
    static void DumpDataFile(Olm_WizData* wizData, const char* fileName);

private:
    Olm_WizData* m_wizData = nullptr;  // owned
};
