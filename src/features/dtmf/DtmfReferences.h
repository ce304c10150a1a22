#pragma once
// The channels' references to DTMF codes: DTMF_BOT, DTMF_EOT and DTMF_Call name a
// code by its number, 0 for none.
#include <string>
#include <vector>

namespace tarvane {

struct Program;

// Sets every DTMF_BOT, DTMF_EOT and DTMF_Call equal to the code number to 0, in the
// used channel records and the CommonChannel.
void ClearDtmfReferences(Program& p, int code);
// The entries of a DTMF code list: text 14013 (none), then the numbers of the
// defined codes, ascending.
std::vector<std::string> FillDtmfCodeList(Program& p);

} // namespace tarvane
