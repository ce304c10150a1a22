// The frame's radio commands: read, write, radio information.
#include "app/Program.h"
#include "app/frmMain.h"

namespace tarvane {

bool frmMain::TransferRunning() const { return false; }
RadioLink* frmMain::NewLink() { return nullptr; }
void frmMain::RunWithProgress(RadioLink*, bool) {}
void frmMain::mnuReadFromRadio_Click() {}
void frmMain::mnuWriteToRadio_Click() {}
void frmMain::WaitSaveDataTimer_Timer() {}
void frmMain::ReadOKTimer_Timer() {}
void frmMain::MnuLocalInfo_Click() {}
void frmMain::ReadRMGDataFromRadio() {}
void frmMain::AbortTransfer() {}

} // namespace tarvane
