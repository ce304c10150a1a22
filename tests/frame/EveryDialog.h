#pragma once
// The dialogs the window tests walk, made as their commands make them.
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "features/emergency/Frm_EMG.h"
#include "features/memfreq/Frm_Mem_Freq.h"
#include "frame/FrmSetLanguage.h"
#include "frame/frmAbout.h"
#include "freq/Bands.h"
#include "image/FrmModelInfo.h"
#include "link/FrmPassWord.h"
#include "link/FrmProgress.h"
#include "link/FrmSetComm.h"

namespace tarvane::test {

// `entry` receives what the password dialog takes; it must outlive the dialogs.
inline std::vector<std::unique_ptr<QWidget>> EveryDialog(Program& p, int band, std::string& entry) {
    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.emplace_back(new Frm_EMG(p));
    dialogs.emplace_back(new FrmSetComm(p));
    dialogs.emplace_back(new FrmSetLanguage(p));
    dialogs.emplace_back(new frmAbout(p));
    dialogs.emplace_back(new FrmModelInfo(p, [] {}));
    dialogs.emplace_back(new FrmProgress(p, true));
    dialogs.emplace_back(new FrmPassWord(p, entry));
    if (band == kBandCB) dialogs.emplace_back(new Frm_Mem_Freq(p, "27.00500"));
    return dialogs;
}

} // namespace tarvane::test
