#pragma once

#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_WizData.h"

#include <memory>

// A design-file bridge in batch mode, silent, over a real engine and the
// container of an installed data file, made once per fuzz target and reset
// before every input: the container gets back the state it was loaded with
// and the engine gets a fresh design.
//
// The installed data files are taken from the source tree ($OLMW_DATA_DIR
// when that is set). Messages of the libraries are dropped, so that the
// fuzzer's output stays readable.
class FuzzBridge {
public:
    // Loads the data of the wizard type for the family; aborts when that
    // fails, since every input would then test nothing.
    FuzzBridge(const char* wizType, const char* family);
    FuzzBridge(const FuzzBridge&) = delete;
    FuzzBridge& operator=(const FuzzBridge&) = delete;
    ~FuzzBridge();

    // Restores the container as loaded and starts a fresh design (the family stays).
    void Reset();
    // Restores the container to the given state instead of the loaded one.
    void Reset(const Olm_WizData& state);

    Olm_KfzWizData& Bridge() { return *m_bridge; }
    Olm_Engine& Engine() { return m_engine; }
    Olm_WizData& Data() { return *m_bridge->GetWizDataPtr(); }
    const Olm_WizData& Loaded() const { return m_loaded; }

    // Drops the messages of the libraries and points them at the data files;
    // the constructor calls it, a target without a bridge calls it itself.
    static void QuietEnvironment();

private:
    Olm_Engine m_engine;
    std::unique_ptr<Olm_KfzWizData> m_bridge;
    Olm_WizData m_loaded;
};
