// olmwiz dump --wizard TYPE --kfz FILE [-o OUT]: the installed data of the
// wizard type for the design's family, synchronised with the design file, in
// the data-file format. Shows what a wizard sees of a design.

#include "Commands.h"
#include "StderrReports.h"

#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/Stream.h"

#include <cstdio>
#include <memory>

namespace olmwiz {

int DumpFromDesign(const std::string& wizard, const std::string& kfzPath, const std::string* output) {
    Olm_Engine engine;
    Pal::String error;
    if (!engine.Load(kfzPath.c_str(), &error)) {
        std::fprintf(stderr, "olmwiz dump: %s\n", error.c_str());
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
                     engine.GetFamily().c_str());
        return kExitErrors;
    }
    const std::unique_ptr<Olm_WizData> data(bridge.GetWizDataPtr());  // the bridge does not own it
    bridge.SyncWizDataWithKFZ();

    if (!output) {
        data->DumpToFile(Pal::File::getCout(), true);
        return kExitOk;
    }
    Pal::Stream* stream = Pal::File::open(output->c_str(), Pal::File::kWriteTruncate, true);
    if (!stream) {
        std::fprintf(stderr, "olmwiz dump: cannot open '%s' for writing\n", output->c_str());
        return kExitErrors;
    }
    data->DumpToFile(stream, true);
    if (!Pal::File::close(stream)) {
        std::fprintf(stderr, "olmwiz dump: could not write '%s'\n", output->c_str());
        return kExitErrors;
    }
    return kExitOk;
}

}  // namespace olmwiz
