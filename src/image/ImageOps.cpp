#include "image/ImageOps.h"

#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"

namespace tarvane {

void StampVersion(const Program& p, SettingsRecord& record) {
    record.Version.ModelCode.Assign(p.Model.ModelCode);
    record.Version.ModelType = p.Model.ModelType;
    record.Version.FormatVersion.Assign(kProgramFormatVersion);
}

bool SetModelType(Program& p, int modelType) {
    std::string band = BandTextForType(modelType);
    if (band.empty()) return false;
    p.Model.ModelType = static_cast<int16_t>(modelType);
    p.Model.BandText = band;
    ParseBandRange(band, p.Model.LowerLimit, p.Model.UpperLimit);
    return true;
}

bool ApplyVersion(Program& p, const SettingsRecord& record) {
    if (BandTextForType(record.Version.ModelType).empty()) {
        // Ending the program here would lose unsaved work: refuse instead.
        Tell(p, "Country Mode Error!");
        return false;
    }
    p.Model.ModelCode = ModelDisplayName(std::string(record.Version.ModelCode.Raw()));
    SetModelType(p, record.Version.ModelType);
    return true;
}

void CopyToBaseline(Program& p) {
    StampVersion(p, p.Image.Settings);
    p.Baseline.Settings = p.Image.Settings;
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        p.Baseline.Channels[static_cast<size_t>(i)] = p.Image.Channels[static_cast<size_t>(i)];
}

bool CopyFromBaseline(Program& p) {
    if (BandTextForType(p.Baseline.Settings.Version.ModelType).empty()) {
        Tell(p, "Country Mode Error!");
        return false;
    }
    p.Image.Settings = p.Baseline.Settings;
    ApplyVersion(p, p.Image.Settings);
    for (int i = 0; i < p.Baseline.UsedCount(); ++i)
        p.Image.Channels[static_cast<size_t>(i)] = p.Baseline.Channels[static_cast<size_t>(i)];
    return true;
}

namespace {

bool SameText(std::string_view a, std::string_view b) {
    // Equal bytes are the common case, asked for every channel on every caption update.
    return a == b || ModelDisplayName(std::string(a)) == ModelDisplayName(std::string(b));
}

bool SameChannel(const ChannelRecord& a, const ChannelRecord& b) {
    return SameText(a.RxFreq.Raw(), b.RxFreq.Raw()) && a.SlotNumber == b.SlotNumber &&
           a.IsBlank == b.IsBlank && a.Scan == b.Scan && a.OffSetFre == b.OffSetFre && a.RDCT == b.RDCT &&
           a.TDCT == b.TDCT && a.DUP == b.DUP && a.HI_CUT == b.HI_CUT && a.BUSY == b.BUSY && a.NB == b.NB &&
           a.Add_Sub_5K == b.Add_Sub_5K && a.AM_FM == b.AM_FM && a.Tx_Power == b.Tx_Power &&
           a.Public == b.Public && a.RBTone == b.RBTone && a.DTMF_BOT == b.DTMF_BOT &&
           a.DTMF_EOT == b.DTMF_EOT && a.DTMF_Call == b.DTMF_Call && a.TSQ == b.TSQ;
}

// Both tone fields of the common channel are compared: the optional-features
// window edits its receive tone, so leaving it out would lose that edit silently.
bool SameCommon(const ChannelRecord& a, const ChannelRecord& b) {
    return a.OffSetFre == b.OffSetFre && a.RDCT == b.RDCT && a.TDCT == b.TDCT && a.DUP == b.DUP &&
           a.HI_CUT == b.HI_CUT && a.BUSY == b.BUSY && a.NB == b.NB && a.Add_Sub_5K == b.Add_Sub_5K &&
           a.AM_FM == b.AM_FM && a.Tx_Power == b.Tx_Power && a.RBTone == b.RBTone &&
           a.DTMF_BOT == b.DTMF_BOT && a.DTMF_EOT == b.DTMF_EOT && a.DTMF_Call == b.DTMF_Call;
}

bool SameFeatures(const FeatureBlock& a, const FeatureBlock& b) {
    // The per-group emergency channels and their modulation are compared too: the
    // channel table edits them, and an edit that is not seen is lost on closing.
    return a.GroupEmgChannel1 == b.GroupEmgChannel1 && a.GroupEmgChannel2 == b.GroupEmgChannel2 &&
           a.GroupEmgAmFm1 == b.GroupEmgAmFm1 && a.GroupEmgAmFm2 == b.GroupEmgAmFm2 &&
           a.CurrentGroup == b.CurrentGroup && a.MemChannelUse == b.MemChannelUse &&
           a.ActiveGroup == b.ActiveGroup && a.MemChannelSel == b.MemChannelSel &&
           a.GroupEnabled == b.GroupEnabled && a.WorkChannel == b.WorkChannel && a.Options == b.Options &&
           a.Display == b.Display && a.EmgChannelSel == b.EmgChannelSel &&
           a.EmgEditAllowed == b.EmgEditAllowed && a.DisplayMode == b.DisplayMode;
}

bool SameDtmf(const DtmfBlock& a, const DtmfBlock& b) {
    if (a.DtmfRate != b.DtmfRate || a.FirstDigitTime != b.FirstDigitTime ||
        a.FirstDigitDelay != b.FirstDigitDelay || a.StarHashTime != b.StarHashTime ||
        a.DKeySetting != b.DKeySetting || a.DtmfDisplay != b.DtmfDisplay)
        return false;
    for (size_t i = 0; i < a.Codes.size(); ++i)
        if (a.Codes[i].Length != b.Codes[i].Length || !SameText(a.Codes[i].Code.Raw(), b.Codes[i].Code.Raw()))
            return false;
    return true;
}

} // namespace

bool ImageChanged(const Program& p) {
    const SettingsRecord& w = p.Image.Settings;
    const SettingsRecord& b = p.Baseline.Settings;
    if (!SameText(w.Version.ModelCode.Raw(), b.Version.ModelCode.Raw()) ||
        w.Version.ModelType != b.Version.ModelType)
        return true;
    if (w.ChannelCount != b.ChannelCount) return true;
    for (int i = 0; i < p.Baseline.UsedCount(); ++i) {
        const ChannelRecord& base = p.Baseline.Channels[static_cast<size_t>(i)];
        const ChannelRecord* work = nullptr;
        if (i < p.Image.UsedCount() && p.Image.Channels[static_cast<size_t>(i)].SlotNumber == base.SlotNumber)
            work = &p.Image.Channels[static_cast<size_t>(i)];
        else if (int k = FindChannelSlot(p.Image, base.SlotNumber); k >= 0)
            work = &p.Image.Channels[static_cast<size_t>(k)];
        if (!work || !SameChannel(*work, base)) return true;
    }
    if (w.KeyTable != b.KeyTable) return true;
    if (!SameFeatures(w.Features, b.Features)) return true;
    if (!SameCommon(w.CommonChannel, b.CommonChannel)) return true;
    if (!SameDtmf(w.Dtmf, b.Dtmf)) return true;
    // The emergency records are edited by their own window; compare them as well.
    for (size_t i = 0; i < w.Emergency.size(); ++i) {
        const EmergencyRecord &x = w.Emergency[i], &y = b.Emergency[i];
        if (x.EmgGroup != y.EmgGroup || x.EmgChannel != y.EmgChannel || !SameChannel(x.Channel, y.Channel))
            return true;
    }
    return w.ToneTips != b.ToneTips;
}

} // namespace tarvane
