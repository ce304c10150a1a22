#pragma once
// The radio information area (0x3E00..0x3EFF) into the information record.
#include <array>
#include <cstdint>

#include "state/RadioImage.h"

namespace tarvane {

struct Program;

// Decodes the area into the record. False when the model type (low four bits
// of byte 0) names no band; the record is filled either way.
bool DecodeRadioInfo(const std::array<uint8_t, kRadioInfoSize>& area, RadioInfoRecord& r);
// The same from p.RadioInfoBlock into p.RadioInfo.
bool DecodeRadioInfo(Program& p);

} // namespace tarvane
