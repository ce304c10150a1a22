#include "frame/FeatureWindows.h"

#include "features/dtmf/FrmDTMF.h"
#include "features/emergency/Frm_EMG.h"
#include "features/keys/FrmKey.h"
#include "features/options/FrmOptFeatures.h"
#include "features/tonetips/FrmToneTips.h"
#include "frame/frmMain.h"

namespace tarvane {

void RegisterFeatureWindows(frmMain& m) {
    m.RegisterChildKind("FrmOptFeatures", [](frmMain& f) { return new FrmOptFeatures(f.Prog()); });
    m.RegisterChildKind("FrmDTMF", [](frmMain& f) { return new FrmDTMF(f.Prog()); });
    m.RegisterChildKind("FrmKey", [](frmMain& f) { return new FrmKey(f.Prog()); });
    m.RegisterChildKind("FrmToneTips", [](frmMain& f) { return new FrmToneTips(f.Prog()); });
    m.RegisterDialogKind("Frm_EMG", [](frmMain& f) { return new Frm_EMG(f.Prog(), &f); });
}

} // namespace tarvane
