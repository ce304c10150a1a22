// The radio information area (0x3E00..0x3EFF) into the information record.
//
//   index   0      low 4 bits: model type      32..39  text A     48..63  text D
//           1..15  unused                       40..43  text B     64..79  text E
//          16..31  password block               44..47  text C     80..95  text F
//          96..191 text G   192..207 H   208..223 I   224..239 J   240..255 K
#include "link/RadioInfoArea.h"

#include "base/FixedText.h"
#include "image/ModelVersion.h"
#include "state/Program.h"

namespace tarvane {

namespace {

// A text ends at its first 0x00 or 0xFF (erased memory).
std::string InfoText(const std::array<uint8_t, kRadioInfoSize>& area, size_t offset, size_t width) {
    std::string text;
    for (size_t i = offset; i < offset + width; ++i) {
        if (area[i] == 0x00 || area[i] == 0xFF) break;
        text += static_cast<char>(area[i]);
    }
    return text;
}

template <size_t N>
void PutText(FixedText<N>& field, const std::array<uint8_t, kRadioInfoSize>& area, size_t offset) {
    field.Assign(TrimField(InfoText(area, offset, N)));
}

} // namespace

bool DecodeRadioInfo(const std::array<uint8_t, kRadioInfoSize>& a, RadioInfoRecord& r) {
    r.ModelType = static_cast<int16_t>(a[0] & 0x0F);
    PutText(r.TextA, a, 32);
    PutText(r.TextB, a, 40);
    r.TextC = InfoText(a, 44, 4);
    for (size_t i = 0; i < 3; ++i)
        PutText(r.Head16[i], a, 48 + 16 * i);
    PutText(r.TextG, a, 96);
    for (size_t i = 0; i < 4; ++i)
        PutText(r.Tail16[i], a, 192 + 16 * i);
    return !BandTextForType(r.ModelType).empty();
}

bool DecodeRadioInfo(Program& p) {
    return DecodeRadioInfo(p.RadioInfoBlock, p.RadioInfo);
}

} // namespace tarvane
