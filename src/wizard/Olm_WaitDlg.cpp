#include "wizard/Olm_WaitDlg.h"

#include "wizard/Olm_WaitDlgImp.h"

Olm_WaitDlg::Olm_WaitDlg() : m_dlg(std::make_unique<Olm_WaitDlgImp>()) {}

Olm_WaitDlg::~Olm_WaitDlg() = default;

void Olm_WaitDlg::SetProcessPtr(Pal::Process* process) { m_dlg->SetProcessPtr(process); }

int Olm_WaitDlg::Run() { return m_dlg->Run(); }

int Olm_WaitDlg::GetExitCode() { return m_dlg->GetExitCode(); }
