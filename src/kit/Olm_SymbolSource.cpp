#include "kit/Olm_SymbolSource.h"

#include "datafiles/Olm_MessageSink.h"
#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "kit/Olm_CoreSymbol.h"
#include "kit/Olm_HdlGenerator.h"
#include "kit/Olm_KitMain.h"
#include "kit/Olm_KitPage.h"
#include "model/Olm_WizData.h"
#include "pal/MsgMan.h"
#include "translator/Olm_HdlDesign.h"

namespace {

// Drops every message while it lives: the wizard main reports as in silent
// batch mode without a log, and the message sink and the message manager
// take nothing in.
class Quiet : public Olm_MessageSink {
public:
    explicit Quiet(Olm_KitMain& main)
        : m_main(main),
          m_batch(main.IsBatchMode()),
          m_silent(main.GetSilentMode()),
          m_log(main.GetLogFilePtr()),
          m_sink(Olm_MessageSink::Install(this)),
          m_handler(Pal::MsgMan::setHandler([](const Pal::MsgMan::Report&) {})) {
        main.SetBatchMode(true);
        main.SetSilentMode(true);
        main.SetLogFilePtr(nullptr);
    }
    ~Quiet() override {
        Pal::MsgMan::setHandler(m_handler);
        Olm_MessageSink::Install(m_sink);
        m_main.SetLogFilePtr(m_log);
        m_main.SetSilentMode(m_silent);
        m_main.SetBatchMode(m_batch);
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

    void Message(const Pal::String&, bool, Pal::Stream*, bool, bool, bool) override {}

private:
    Olm_KitMain& m_main;
    bool m_batch;
    bool m_silent;
    Pal::Stream* m_log;
    Olm_MessageSink* m_sink;
    Pal::MsgMan::Handler m_handler;
};

// The pages after the current one hold the model's values (an option
// file's, the data's defaults) until their Next writes them: they are
// written as their Next would, so that the symbol has their ports as Finish
// will make them (a clock enable switched off, a reset port renamed). Pages
// left out and values their rule refuses are passed over.
void WriteLaterPages(Olm_KitMain& main, const Olm_KitPage& current, Olm_WizData& copy) {
    bool later = false;
    for (const auto& page : main.Pages()) {
        if (page.get() == &current) {
            later = true;
            continue;
        }
        if (!later || page->IsSkipped()) continue;
        const Olm_FieldValues& values = page->ModelValues();
        for (const Olm_Field* field : page->Fields()) {
            const std::string value = values.Text(field->GetAttribute());
            Olm_Block* block = page->BlockOf(*field);
            if (block && field->Problem(value).empty())
                field->Write(copy, *block, value, field->IsEnabled(values), values);
        }
    }
}

bool SymbolOfText(const std::string& kfzText, const std::string& name, const std::string& design,
                  Olm_HdlGenerator& generator, Olm_CoreSymbol& symbol, std::string& error) {
    Olm_Engine engine;
    Pal::String loadError;
    if (!engine.LoadText(kfzText, name.c_str(), &loadError)) {
        error = loadError.str();
        return false;
    }
    Olm_HdlDesign view;
    if (!generator.View(engine.GetDesign(), design, view, error)) return false;
    symbol = Olm_CoreSymbol::FromDesign(view);
    return true;
}

}  // namespace

bool Olm_SymbolSource::FromDesignFile(const std::string& kfzPath, const std::string& design,
                                      Olm_HdlGenerator& generator, Olm_CoreSymbol& symbol, std::string& error) {
    Olm_Engine engine;
    Pal::String loadError;
    if (!engine.Load(kfzPath.c_str(), &loadError)) {
        error = "Could not read the design file " + kfzPath + " for the symbol: " + loadError.str();
        return false;
    }
    Olm_HdlDesign view;
    if (!generator.View(engine.GetDesign(), design, view, error)) {
        error = "Could not make the symbol of " + kfzPath + ": " + error;
        return false;
    }
    symbol = Olm_CoreSymbol::FromDesign(view);
    return true;
}

bool Olm_SymbolSource::Preview(Olm_KitMain& main, const Olm_KitPage* page, const Olm_FieldValues* values,
                               Olm_HdlGenerator& generator, Olm_CoreSymbol& symbol, std::string& error) {
    Olm_WizData* model = main.GetWizDataPtr();
    if (!model) {
        error = "The wizard has no data to work on.";
        return false;
    }
    if (page && values) {
        for (const Olm_Field* field : page->Fields()) {
            if (!field->IsEnabled(*values)) continue;
            if (std::string problem = field->Problem(values->Text(field->GetAttribute())); !problem.empty()) {
                error = std::move(problem);
                return false;
            }
        }
    }
    Olm_WizData copy(*model);
    bool applied = false;
    std::vector<Olm_ClockWave> waves;
    std::string kfzText;
    {
        const Quiet quiet(main);
        main.WithModelCopy(copy, [&] {
            if (page && values) {
                for (const Olm_Field* field : page->Fields()) {
                    if (Olm_Block* block = page->BlockOf(*field))
                        field->Write(copy, *block, values->Text(field->GetAttribute()), field->IsEnabled(*values),
                                     *values);
                }
                WriteLaterPages(main, *page, copy);
            }
            applied = main.DoFinishAtSummaryStart();
            if (!applied) return;
            waves = main.ClockWaves();
            Olm_Engine engine;
            engine.SetFamily(main.GetFamily());
            Olm_KfzWizData bridge(&engine, main.GetWizType());
            bridge.SetWizDataPtr(&copy);
            Pal::String saveError;
            applied = bridge.SaveWizDataToEngine() &&
                      engine.SaveText(kfzText, (main.GetDesignName().str() + ".kfz").c_str(), &saveError);
        });
    }
    if (!applied) {
        error = "The settings cannot be applied as they stand.";
        return false;
    }
    Olm_CoreSymbol made;
    if (!SymbolOfText(kfzText, main.GetDesignName().str() + ".kfz", main.GetDesignName().str(), generator, made,
                      error))
        return false;
    made.SetWaves(std::move(waves));
    symbol = std::move(made);
    return true;
}
