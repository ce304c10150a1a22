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

void EncodeRadioMemory(Program& p) {
    RadioMemory& m = p.RadioMemoryBlock;
    m.fill(0); // the memory and emergency flag bytes must start at 0
    WriteAllChannels(p);
    const SettingsRecord& s = p.Image.Settings;
    PackOptions(m, s);
    PackDtmf(m, s);
    PackKeys(m, s);
    PackToneTips(m, s);
}

bool DecodeRadioMemory(Program& p) {
    const int type = p.Link.Identity.RadioModelType;
    if (BandTextForType(type).empty()) {
        // Ending the program here would lose unsaved work: refuse the image instead.
        Tell(p, "Country Mode Error!");
        return false;
    }
    const RadioMemory& m = p.RadioMemoryBlock;
    ReadAllChannels(p);
    SettingsRecord& s = p.Image.Settings;
    s.Version.ModelType = static_cast<int16_t>(type);
    ApplyVersion(p, s);
    UnpackOptions(m, s);
    UnpackDtmf(m, s);
    UnpackKeys(m, s);
    UnpackToneTips(m, s);
    return true;
}

} // namespace tarvane
