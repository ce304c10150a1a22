#pragma once
// The whole 7424-byte radio memory from and to the working image, in the order
// the write command and the post-read step use. The link calls these and
// nothing else.
#include "state/MemoryMap.h"
#include "state/RadioImage.h"

namespace tarvane {

struct Program;

// Clears the memory and encodes the image into it: channels, then options
// (with the common channel block), DTMF, keys, tone tips. The channels' IsBlank
// is set on the way.
void EncodeRadioMemory(RadioMemory& m, RadioImage& image);
// Decodes the memory into the image: channels (the unassigned slots skipped for
// model type 0), the model type, options, DTMF, keys, tone tips. A type other
// than 0..2 returns false with the image unchanged.
bool DecodeRadioMemory(const RadioMemory& m, RadioImage& image, int modelType);

// The same over p.RadioMemoryBlock and the working image.
void EncodeRadioMemory(Program& p);
// The model type is the one the radio reported (p.Link.Identity.RadioModelType);
// it becomes the current model. A type other than 0..2 shows "Country Mode
// Error!" and returns false with the working image unchanged.
bool DecodeRadioMemory(Program& p);

} // namespace tarvane
