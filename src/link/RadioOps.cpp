#include "link/RadioOps.h"

#include "memory/RadioMemory.h"
#include "state/Program.h"

namespace tarvane {

void PrepareTransferData(Program& p, LinkOperation op) {
    if (op == LinkOperation::WriteRadio) {
        EncodeRadioMemory(p);
        return;
    }
    p.RadioMemoryBlock.fill(0);
}

bool PostReadStep(Program& p) {
    if (!DecodeRadioMemory(p)) return false;
    p.Doc.Path = "new.dat";
    p.Doc.Untitled = true;
    if (p.Notify.captionChanged) p.Notify.captionChanged();
    return true;
}

} // namespace tarvane
