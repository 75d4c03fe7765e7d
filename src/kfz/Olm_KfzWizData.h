#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

class Olm_Engine;
class Olm_WizData;
class Olm_Block;
class Olm_Pin;
class Olm_Signal;
namespace Pal {
class Stream;
}

// The bridge between one wizard-data container and the design-file engine:
// loads the installed data of the wizard type, lays an existing design over
// it, and saves it back through the engine's text commands. It owns neither
// the engine nor the container: a container made by SetupWizData belongs to
// the caller, who deletes it. Copies share engine and container.
//
// Every operation returns at once (false where it has a result) without the
// container or the engine it needs; nothing reports an error or writes a log.
class OLM_BASE_EXPORT Olm_KfzWizData {
public:
    Olm_KfzWizData(Olm_Engine* engine, const Pal::String& wizType);
    Olm_KfzWizData(const Olm_KfzWizData& other);
    Olm_KfzWizData& operator=(const Olm_KfzWizData& other);
    virtual ~Olm_KfzWizData();

    bool IsBatchMode() const { return m_batchMode; }
    void SetBatchMode(bool batchMode) { m_batchMode = batchMode; }
    bool IsSilent() const { return m_silent; }
    void SetSilent(bool silent) { m_silent = silent; }
    const Pal::String& GetWizType() const { return m_wizType; }
    // The log stream is only handed on to the option-file reader.
    void SetLogFile(Pal::Stream* logFile) { m_logFile = logFile; }
    Olm_Engine* GetEnginePtr() const { return m_engine; }
    Olm_WizData* GetWizDataPtr() const { return m_wizData; }
    // Hands the bridge a container loaded elsewhere (a copy of installed data
    // read before, say) instead of SetupWizData; not owned.
    void SetWizDataPtr(Olm_WizData* data) { m_wizData = data; }

    // Writes the container to a dump file ("olmwtest.dmp" for a null name).
    void DumpWizData(const char* fileName);
    // Loads the installed data of the wizard type for the design's family into
    // a new container (owned by the caller). False leaves the container as it was.
    bool SetupWizData();
    // Marks everything inactive, then matches each block, pin, signal and
    // property of the design to the container or adds it.
    void SyncWizDataWithKFZ();
    // Applies an option file to the container.
    bool ReadOptFile(Pal::String& fileName);
    // Writes the version, the active blocks and the active signals into the
    // engine; false when any write failed. A pin's tie-off value becomes VCC
    // and ground ties; one wider than OlmKfz::kMaxTieBits is ignored.
    bool SaveWizDataToEngine();

private:
    bool ReadDataFile();
    void AddKFZBlkToWizData(const Pal::String& block);
    void AddKFZSigToWizData(const Pal::String& signal);
    void AddKFZPinToWizData(const Pal::String& block, const Pal::String& pin, Olm_Block* wizBlock);
    void AddKFZBlkPropToWizData(const Pal::String& block, const Pal::String& property, Olm_Block* wizBlock);
    void AddKFZSigPropToWizData(const Pal::String& signal, const Pal::String& property, Olm_Signal* wizSignal);
    void AddKFZPinPropToWizData(const Pal::String& pin, const Pal::String& block, const Pal::String& property,
                                Olm_Pin* wizPin);
    void SetPinDataFromKFZ(Olm_Pin* pin, const Pal::String& block);
    bool ProcessInternalSigProp(Olm_Signal* signal, const Pal::String& property);
    void CheckForTiedPin(Olm_Pin* pin);
    bool SaveBlkDataToEngine(Olm_Block* block);

    void SyncBlock(Olm_Block* block, const Pal::String& name);
    void SyncSignal(Olm_Signal* signal, const Pal::String& name);
    bool IsHsx() const;
    bool IsTkl() const;
    Pal::String Exec(const char* cmd, const char* a1, const char* a2 = nullptr, const char* a3 = nullptr,
                     const char* a4 = nullptr, const char* a5 = nullptr);

    bool m_batchMode = false;
    bool m_silent = false;
    Pal::String m_wizType;
    Pal::Stream* m_logFile = nullptr;  // not owned
    Olm_Engine* m_engine = nullptr;    // not owned
    Olm_WizData* m_wizData = nullptr;  // not owned
};
