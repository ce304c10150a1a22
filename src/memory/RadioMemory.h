#pragma once
// The whole 7424-byte radio memory from and to the working image, in the order
// the write command and the post-read step use. The link calls these two and
// nothing else.

namespace tarvane {

struct Program;

// Clears p.RadioMemoryBlock and encodes the working image into it: channels,
// then options (with the common channel block), DTMF, keys, tone tips.
void EncodeRadioMemory(Program& p);
// Decodes p.RadioMemoryBlock into the working image: channels, the model type
// reported by the radio (p.Link.Identity.RadioModelType), options, DTMF, keys,
// tone tips. A radio type other than 0..2 shows "Country Mode Error!" and
// returns false with the working image unchanged.
bool DecodeRadioMemory(Program& p);

} // namespace tarvane
