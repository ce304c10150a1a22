#pragma once
// The read, write and radio-information commands around a transfer, shared by
// the windows and the command line. The transfer itself is LinkEngine's; what
// it asks and tells is worded and answered here, in one place for both.
#include <string>

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

// The last word on a transfer that ended without success, the same in the
// window and on the command line: the port went away mid-transfer (lostDevice
// names it; empty when it did not), and after a write that sent blocks, that
// the radio may hold a mix of old and new settings. "" when there is nothing
// more to say: the messages of the check that stopped it have said it all.
std::string FailedTransferText(Program& p, const LinkEngine& engine, const std::string& lostDevice);
// Shows that text in the window, once. The transfer is offered again only while
// its port is there (a port that went away and came back is said to be back);
// otherwise OK alone, with the advice to connect again. True: start it again.
bool OfferTransferAgain(Program& p, const std::string& text, bool lost, bool portPresent);

} // namespace tarvane
