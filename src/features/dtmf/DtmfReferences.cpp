#include "features/dtmf/DtmfReferences.h"

#include "features/dtmf/DtmfArea.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

void ClearDtmfReferences(Program& p, int code) {
    auto clear = [code](ChannelRecord& r) {
        for (int16_t* f : {&r.DTMF_BOT, &r.DTMF_EOT, &r.DTMF_Call})
            if (*f == code) *f = 0;
    };
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        clear(p.Image.Channels[static_cast<size_t>(i)]);
    clear(p.Image.Settings.CommonChannel);
}

std::vector<std::string> FillDtmfCodeList(Program& p) {
    std::vector<std::string> entries{LangText(p, txt::kTableNone)};
    for (int n = 1; n <= 16; ++n)
        if (DtmfCodeDefined(p.Image.Settings.Dtmf.Codes[static_cast<size_t>(n - 1)]))
            entries.push_back(std::to_string(n));
    return entries;
}

} // namespace tarvane
