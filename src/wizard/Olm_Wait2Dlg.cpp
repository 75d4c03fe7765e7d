#include "wizard/Olm_Wait2Dlg.h"

#include "wizard/Olm_Wait2DlgImp.h"

Olm_Wait2Dlg::Olm_Wait2Dlg() : m_dlg(std::make_unique<Olm_Wait2DlgImp>()) {}

Olm_Wait2Dlg::~Olm_Wait2Dlg() = default;

void Olm_Wait2Dlg::SetText(Pal::String text) { m_dlg->SetText(text); }

void Olm_Wait2Dlg::Run() { m_dlg->Run(); }

void Olm_Wait2Dlg::Quit() { m_dlg->Quit(); }
