#pragma once
// Plugs the feature editors into the frame: FrmOptFeatures, FrmDTMF, FrmKey and
// FrmToneTips as child windows, Frm_EMG as a modal dialog.
namespace tarvane {

class frmMain;

void RegisterFeatureWindows(frmMain& m);

} // namespace tarvane
