#include "memory/RadioMemory.h"

#include "features/dtmf/DtmfArea.h"
#include "features/keys/KeysArea.h"
#include "features/options/OptionsArea.h"
#include "features/tonetips/ToneTipsArea.h"
#include "freq/ChannelCodec.h"
#include "image/ImageOps.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"

namespace tarvane {

void EncodeRadioMemory(RadioMemory& m, RadioImage& image) {
    m.fill(0); // the memory and emergency flag bytes must start at 0
    WriteAllChannels(m, image);
    const SettingsRecord& s = image.Settings;
    PackOptions(m, s);
    PackDtmf(m, s);
    PackKeys(m, s);
    PackToneTips(m, s);
}

bool DecodeRadioMemory(const RadioMemory& m, RadioImage& image, int modelType) {
    if (BandTextForType(modelType).empty()) return false;
    ReadAllChannels(m, image, modelType == 0);
    SettingsRecord& s = image.Settings;
    s.Version.ModelType = static_cast<int16_t>(modelType);
    UnpackOptions(m, s);
    UnpackDtmf(m, s);
    UnpackKeys(m, s);
    UnpackToneTips(m, s);
    return true;
}

void EncodeRadioMemory(Program& p) {
    EncodeRadioMemory(p.RadioMemoryBlock, p.Image);
}

bool DecodeRadioMemory(Program& p) {
    if (!DecodeRadioMemory(p.RadioMemoryBlock, p.Image, p.Link.Identity.RadioModelType)) {
        // Ending the program here would lose unsaved work: refuse the image instead.
        Tell(p, "Country Mode Error!");
        return false;
    }
    // The areas carry no model code or type: taking the version after them is
    // the same as before them.
    ApplyVersion(p, p.Image.Settings);
    return true;
}

} // namespace tarvane
