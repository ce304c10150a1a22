#include "doc/Caption.h"

#include "base/FieldHelpers.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

std::string MainCaption(Program& p, bool changed) {
    return LangText(p, txt::kMainTarvaneCPS) + "[" + p.Model.ModelCode + ":" + TypeName(p.Model.ModelType) +
           ":" + p.Model.BandText + "][" + LangText(p, txt::kMainFile) + ":" + FileNameOf(p.Doc.Path) +
           (changed ? "*" : "") + "]";
}

} // namespace tarvane
