#pragma once
// The read, write and radio-information commands around a transfer, shared by
// the windows and the command line. The transfer itself is LinkEngine's.
#include "state/LinkState.h"

namespace tarvane {

struct Program;

// Before the transfer starts: a read and an information read clear
// RadioMemoryBlock (a block never received reads as zeros); a write clears it
// and encodes the working image into it.
void PrepareTransferData(Program& p, LinkOperation op);
// After a successful read: RadioMemoryBlock into the working image, which then
// becomes the untitled "new.dat". The baseline keeps the state before the read,
// so the read image counts as unsaved. False (image unchanged) when the radio
// reported a type that names no band ("Country Mode Error!" has been shown).
bool PostReadStep(Program& p);

} // namespace tarvane
