#include "FuzzBridge.h"

#include "pal/MsgMan.h"

#include <cstdio>
#include <cstdlib>

FuzzBridge::FuzzBridge(const char* wizType, const char* family) {
    QuietEnvironment();
    m_engine.SetFamily(family);
    m_bridge = std::make_unique<Olm_KfzWizData>(&m_engine, Pal::String(wizType));
    m_bridge->SetBatchMode(true);
    m_bridge->SetSilent(true);
    if (!m_bridge->SetupWizData() || !m_bridge->GetWizDataPtr()) {
        std::fprintf(stderr, "olm fuzz: cannot load the data of wizard type %s (OLMW_DATA_DIR=%s)\n", wizType,
                     std::getenv("OLMW_DATA_DIR"));
        std::abort();
    }
    m_loaded = *m_bridge->GetWizDataPtr();
}

// The bridge does not own the container it made.
FuzzBridge::~FuzzBridge() { delete m_bridge->GetWizDataPtr(); }

void FuzzBridge::Reset() { Reset(m_loaded); }

void FuzzBridge::Reset(const Olm_WizData& state) {
    Data() = state;
    m_engine.NewDesign();
}

void FuzzBridge::QuietEnvironment() {
    Pal::MsgMan::setHandler([](const Pal::MsgMan::Report&) {});
    ::setenv("OLMW_DATA_DIR", OLM_FUZZ_DATA_DIR, 0);
}
