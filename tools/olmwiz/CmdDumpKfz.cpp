// olmwiz dump --wizard TYPE --kfz FILE [-o OUT]: the installed data of the
// wizard type for the design's family, synchronised with the design file, in
// the data-file format. Shows what a wizard sees of a design.

#include "Commands.h"
#include "StderrReports.h"

#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_WizData.h"

#include <cstdio>
#include <memory>

namespace olmwiz {

int DumpFromDesign(const std::string& wizard, const std::string& kfzPath, const std::string* output) {
    Olm_Engine engine;
    Pal::String error;
    if (!engine.Load(kfzPath.c_str(), &error)) {
        std::fprintf(stderr, "olmwiz dump: %s\n", StderrReports::Printable(error.str()).c_str());
        return kExitErrors;
    }
    if (engine.GetFamily().IsEmpty()) {
        std::fprintf(stderr, "olmwiz dump: design file '%s' names no device family\n", kfzPath.c_str());
        return kExitErrors;
    }

    // The loader reports its own errors, to standard error.
    const StderrReports reports;
    Olm_KfzWizData bridge(&engine, Pal::String(wizard));
    if (!bridge.SetupWizData()) {
        std::fprintf(stderr, "olmwiz dump: no installed data of wizard type '%s' for family '%s'\n", wizard.c_str(),
                     StderrReports::Printable(engine.GetFamily().str()).c_str());
        return kExitErrors;
    }
    const std::unique_ptr<Olm_WizData> data(bridge.GetWizDataPtr());  // the bridge does not own it
    bridge.SyncWizDataWithKFZ();
    return WriteDump(*data, output);
}

}  // namespace olmwiz
