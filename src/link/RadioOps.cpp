#include "link/RadioOps.h"

#include "memory/RadioMemory.h"
#include "state/Program.h"

namespace tarvane {

void PrepareTransferData(Program& p, LinkOperation op) {
    if (op == LinkOperation::WriteRadio) {
        EncodeRadioMemory(p.RadioMemoryBlock, p.Image);
        return;
    }
    p.RadioMemoryBlock.fill(0);
}

bool PostReadStep(Program& p) {
    // Through the program: a type without band is told, and the type read becomes the current model.
    if (!DecodeRadioMemory(p)) return false;
    p.Doc.Path = "new.dat";
    p.Doc.Untitled = true;
    if (p.Notify.captionChanged) p.Notify.captionChanged();
    return true;
}

} // namespace tarvane
