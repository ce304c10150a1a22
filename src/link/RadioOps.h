#pragma once
// The read, write and radio-information commands around a transfer, shared by
// the windows and the command line. The transfer itself is LinkEngine's; what
// it asks and tells is worded and answered here, in one place for both.
#include "link/LinkEngine.h"
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

// The part of the program an engine works on.
LinkContext LinkContextOf(Program& p);
// Fills the host's questions and outcomes (askRetry, askPassword,
// identityMismatch, notice, succeeded) with the program's texts, asked through
// p.Prompts:
//   give-up        9008, Retry/Cancel for the information read, OK/Cancel otherwise
//   password       the password dialog; a wrong or no entry: "PassWord Failure!"
//   identity       another band type on a write: 9030; a firmware format of
//                  another program version: the switch question, Yes starts that
//                  version and sets p.QuitRequested; another model: 9012 with both names
//   success        9009 / 9010; the information read decodes the area into
//                  p.RadioInfo ("Country Mode Error!" for a type without band)
// A host may replace any of them afterwards (the command line answers the
// give-up question from its options).
void AskThroughPrompts(Program& p, LinkHost& host);

} // namespace tarvane
