#include "proof/Olm_TestbenchWriter.h"

#include "proof/Olm_TbClockBench.h"
#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbLaneBench.h"
#include "proof/Olm_TbMultBench.h"
#include "proof/Olm_TbReceiveBench.h"
#include "proof/Olm_TbRoundTripBench.h"
#include "proof/Olm_TbSerialBench.h"
#include "proof/Olm_TbText.h"

std::string Olm_TestbenchWriter::FileName(const std::string& design, Olm_HdlGenerator::Language language) {
    return design + "_tb" + Olm_HdlGenerator::Extension(language);
}

bool Olm_TestbenchWriter::Write(const Olm_KfzDesign& kfz, const std::string& design,
                                Olm_HdlGenerator::Language language, std::string& text, std::string& error) {
    Olm_TbDesign view;
    if (!view.Build(kfz, design, error)) return false;
    Olm_TbText tb(language, design);
    bool added = false;
    if (Olm_TbClockBench::Applies(view)) added = Olm_TbClockBench::Add(view, tb, error);
    else if (view.Has("DSP")) added = Olm_TbMultBench::Add(view, tb, error);
    else if (Olm_TbRoundTripBench::Applies(view)) added = Olm_TbRoundTripBench::Add(view, tb, error);
    else if (Olm_TbSerialBench::Applies(view)) added = Olm_TbSerialBench::Add(view, tb, error);
    else if (Olm_TbReceiveBench::Applies(view)) added = Olm_TbReceiveBench::Add(view, tb, error);
    else if (Olm_TbLaneBench::Applies(view)) added = Olm_TbLaneBench::Add(view, tb, error);
    else error = "a testbench is written for phase-locked loops (RKO_ADV, RKO_BASE), multipliers (DSP), "
                 "source-synchronous I/O (OSER, ISER) and transceiver lanes (HSX3, HSX10, HSX11) only";
    if (!added) return false;
    text = tb.Text(view.View());
    return true;
}
