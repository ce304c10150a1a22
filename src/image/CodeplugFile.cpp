#include "image/CodeplugFile.h"

#include <algorithm>

#include "base/ByteIO.h"
#include "base/FieldHelpers.h"
#include "image/ImageOps.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

// Settings record, file form (1199 bytes)
//   0  VersionTag: ModelCode[7] 0, ModelType 7, FormatVersion[4] 9
//  13  ChannelCount
//  15  FeatureBlock (158)        173  CommonChannel (60)
// 233  KeyTable (19 x 2)         271  DtmfBlock (320)
// 591  ToneTips (8 x 60)        1071  Emergency (2 x 64)
namespace set {
constexpr size_t ModelCode = 0, ModelType = 7, FormatVersion = 9, ChannelCount = 13, Features = 15,
                 Common = 173, Keys = 233, Dtmf = 271, ToneTips = 591, Emergency = 1071, End = 1199;
}
static_assert(set::Common - set::Features == 158 && set::Keys - set::Common == 60 &&
              set::Dtmf - set::Keys == 38 && set::ToneTips - set::Dtmf == 320 &&
              set::Emergency - set::ToneTips == 480 && set::End - set::Emergency == 128 &&
              set::End == kSettingsFileSize);

// FeatureBlock, offsets within the block (158 bytes)
namespace feat {
constexpr size_t CurrentGroup = 0, MemChannelUse = 2, ActiveGroup = 4, MemChannelSel = 6, GroupEnabled = 8,
                 WorkChannel = 28, GroupEmg1 = 48, GroupEmg2 = 68, Options = 88, EmgAmFm1 = 122,
                 EmgAmFm2 = 132, Display = 142, EmgChannelSel = 150, EmgEditAllowed = 151, DisplayMode = 152,
                 Reserved = 153, End = 158;
}
static_assert(feat::Options + 2 * kOptionCount == feat::EmgAmFm1 && feat::Reserved + 5 == feat::End);

// ChannelRecord, file form (60 bytes)
//  0 SlotNumber  2 IsBlank  4 Scan  6 RxFreq[8]  14 OffSetFre  16 RDCT  18 TDCT  20 DUP  22 HI_CUT
// 24 BUSY  26 NB  28 Add_Sub_5K  30 AM_FM  32 Tx_Power  34 Public  36 RBTone  38 DTMF_BOT  40 DTMF_EOT
// 42 DTMF_Call  44 TSQ  46 seven reserved integers
namespace chan {
constexpr size_t Slot = 0, IsBlank = 2, Scan = 4, RxFreq = 6, OffSetFre = 14, Reserved = 46, End = 60;
}
static_assert(chan::End == kChannelFileSize && chan::Reserved + 14 == chan::End);

// The fields from OffSetFre to TSQ in file order, 16 bits each.
template <typename R> auto OptionFields(R& r) {
    return std::array{&r.OffSetFre, &r.RDCT,       &r.TDCT,      &r.DUP,      &r.HI_CUT, &r.BUSY,
                      &r.NB,        &r.Add_Sub_5K, &r.AM_FM,     &r.Tx_Power, &r.Public, &r.RBTone,
                      &r.DTMF_BOT,  &r.DTMF_EOT,   &r.DTMF_Call, &r.TSQ};
}

// DtmfBlock, file form (320 bytes): six integers, 16 entries of 18 bytes at 12, 20 bytes at 300.
namespace dtmf {
constexpr size_t Codes = 12, EntrySize = 18, Reserved = 300, End = 320;
}
// EmergencyRecord, file form (64 bytes): EmgGroup 0, EmgChannel 2, channel record 4.
constexpr size_t kEmergencyFileSize = 64;
constexpr size_t kToneTipSize = 60;

void WriteChannelAt(ByteWriter& w, size_t at, const ChannelRecord& r) {
    w.I16(at + chan::Slot, r.SlotNumber);
    w.I16(at + chan::IsBlank, r.IsBlank);
    w.I16(at + chan::Scan, r.Scan);
    w.Text(at + chan::RxFreq, r.RxFreq);
    auto fields = OptionFields(r);
    for (size_t i = 0; i < fields.size(); ++i)
        w.I16(at + chan::OffSetFre + 2 * i, *fields[i]);
    for (size_t i = 0; i < r.Reserved.size(); ++i)
        w.I16(at + chan::Reserved + 2 * i, r.Reserved[i]);
}

void ReadChannelAt(const ByteReader& rd, size_t at, ChannelRecord& r) {
    r.SlotNumber = rd.I16(at + chan::Slot);
    r.IsBlank = rd.I16(at + chan::IsBlank);
    r.Scan = rd.I16(at + chan::Scan);
    rd.Text(at + chan::RxFreq, r.RxFreq);
    auto fields = OptionFields(r);
    for (size_t i = 0; i < fields.size(); ++i)
        *fields[i] = rd.I16(at + chan::OffSetFre + 2 * i);
    for (size_t i = 0; i < r.Reserved.size(); ++i)
        r.Reserved[i] = rd.I16(at + chan::Reserved + 2 * i);
}

template <size_t N> void WriteI16s(ByteWriter& w, size_t at, const std::array<int16_t, N>& a) {
    for (size_t i = 0; i < N; ++i)
        w.I16(at + 2 * i, a[i]);
}
template <size_t N> void ReadI16s(const ByteReader& rd, size_t at, std::array<int16_t, N>& a) {
    for (size_t i = 0; i < N; ++i)
        a[i] = rd.I16(at + 2 * i);
}

} // namespace

void EncodeChannelRecord(const ChannelRecord& r, std::span<uint8_t, kChannelFileSize> out) {
    ByteWriter w(out);
    WriteChannelAt(w, 0, r);
}

void DecodeChannelRecord(std::span<const uint8_t, kChannelFileSize> in, ChannelRecord& r) {
    ByteReader rd(in);
    ReadChannelAt(rd, 0, r);
}

void EncodeSettings(const SettingsRecord& s, std::span<uint8_t, kSettingsFileSize> out) {
    ByteWriter w(out);
    w.Text(set::ModelCode, s.Version.ModelCode);
    w.I16(set::ModelType, s.Version.ModelType);
    w.Text(set::FormatVersion, s.Version.FormatVersion);
    w.I16(set::ChannelCount, s.ChannelCount);

    const FeatureBlock& f = s.Features;
    const size_t F = set::Features;
    w.I16(F + feat::CurrentGroup, f.CurrentGroup);
    w.I16(F + feat::MemChannelUse, f.MemChannelUse);
    w.I16(F + feat::ActiveGroup, f.ActiveGroup);
    w.I16(F + feat::MemChannelSel, f.MemChannelSel);
    WriteI16s(w, F + feat::GroupEnabled, f.GroupEnabled);
    WriteI16s(w, F + feat::WorkChannel, f.WorkChannel);
    WriteI16s(w, F + feat::GroupEmg1, f.GroupEmgChannel1);
    WriteI16s(w, F + feat::GroupEmg2, f.GroupEmgChannel2);
    WriteI16s(w, F + feat::Options, f.Options);
    w.Bytes(F + feat::EmgAmFm1, f.GroupEmgAmFm1.data(), 10);
    w.Bytes(F + feat::EmgAmFm2, f.GroupEmgAmFm2.data(), 10);
    WriteI16s(w, F + feat::Display, f.Display);
    w.U8(F + feat::EmgChannelSel, f.EmgChannelSel);
    w.U8(F + feat::EmgEditAllowed, f.EmgEditAllowed);
    w.U8(F + feat::DisplayMode, f.DisplayMode);
    w.Bytes(F + feat::Reserved, f.Reserved.data(), f.Reserved.size());

    WriteChannelAt(w, set::Common, s.CommonChannel);
    WriteI16s(w, set::Keys, s.KeyTable);

    const DtmfBlock& d = s.Dtmf;
    const int16_t head[] = {d.DtmfRate,     d.FirstDigitTime, d.FirstDigitDelay,
                            d.StarHashTime, d.DKeySetting,    d.DtmfDisplay};
    for (size_t i = 0; i < 6; ++i)
        w.I16(set::Dtmf + 2 * i, head[i]);
    for (size_t n = 0; n < d.Codes.size(); ++n) {
        size_t at = set::Dtmf + dtmf::Codes + dtmf::EntrySize * n;
        w.I16(at, d.Codes[n].Length);
        w.Text(at + 2, d.Codes[n].Code);
    }
    w.Bytes(set::Dtmf + dtmf::Reserved, d.Reserved.data(), d.Reserved.size());

    for (size_t t = 0; t < s.ToneTips.size(); ++t) {
        size_t at = set::ToneTips + kToneTipSize * t;
        const ToneTipRecord& tip = s.ToneTips[t];
        for (size_t k = 0; k < tip.Pairs.size(); ++k) {
            w.I16(at + 4 * k, tip.Pairs[k].Tone);
            w.I16(at + 4 * k + 2, tip.Pairs[k].Duration);
        }
        w.I16(at + 56, tip.LoopCount);
        w.I16(at + 58, tip.LoopInterval);
    }
    for (size_t e = 0; e < s.Emergency.size(); ++e) {
        size_t at = set::Emergency + kEmergencyFileSize * e;
        w.I16(at, s.Emergency[e].EmgGroup);
        w.I16(at + 2, s.Emergency[e].EmgChannel);
        WriteChannelAt(w, at + 4, s.Emergency[e].Channel);
    }
}

void DecodeSettings(std::span<const uint8_t, kSettingsFileSize> in, SettingsRecord& s) {
    ByteReader rd(in);
    rd.Text(set::ModelCode, s.Version.ModelCode);
    s.Version.ModelType = rd.I16(set::ModelType);
    rd.Text(set::FormatVersion, s.Version.FormatVersion);
    s.ChannelCount = rd.I16(set::ChannelCount);

    FeatureBlock& f = s.Features;
    const size_t F = set::Features;
    f.CurrentGroup = rd.I16(F + feat::CurrentGroup);
    f.MemChannelUse = rd.I16(F + feat::MemChannelUse);
    f.ActiveGroup = rd.I16(F + feat::ActiveGroup);
    f.MemChannelSel = rd.I16(F + feat::MemChannelSel);
    ReadI16s(rd, F + feat::GroupEnabled, f.GroupEnabled);
    ReadI16s(rd, F + feat::WorkChannel, f.WorkChannel);
    ReadI16s(rd, F + feat::GroupEmg1, f.GroupEmgChannel1);
    ReadI16s(rd, F + feat::GroupEmg2, f.GroupEmgChannel2);
    ReadI16s(rd, F + feat::Options, f.Options);
    rd.Bytes(F + feat::EmgAmFm1, f.GroupEmgAmFm1.data(), 10);
    rd.Bytes(F + feat::EmgAmFm2, f.GroupEmgAmFm2.data(), 10);
    ReadI16s(rd, F + feat::Display, f.Display);
    f.EmgChannelSel = rd.U8(F + feat::EmgChannelSel);
    f.EmgEditAllowed = rd.U8(F + feat::EmgEditAllowed);
    f.DisplayMode = rd.U8(F + feat::DisplayMode);
    rd.Bytes(F + feat::Reserved, f.Reserved.data(), f.Reserved.size());

    ReadChannelAt(rd, set::Common, s.CommonChannel);
    ReadI16s(rd, set::Keys, s.KeyTable);

    DtmfBlock& d = s.Dtmf;
    int16_t* head[] = {&d.DtmfRate,     &d.FirstDigitTime, &d.FirstDigitDelay,
                       &d.StarHashTime, &d.DKeySetting,    &d.DtmfDisplay};
    for (size_t i = 0; i < 6; ++i)
        *head[i] = rd.I16(set::Dtmf + 2 * i);
    for (size_t n = 0; n < d.Codes.size(); ++n) {
        size_t at = set::Dtmf + dtmf::Codes + dtmf::EntrySize * n;
        d.Codes[n].Length = rd.I16(at);
        rd.Text(at + 2, d.Codes[n].Code);
    }
    rd.Bytes(set::Dtmf + dtmf::Reserved, d.Reserved.data(), d.Reserved.size());

    for (size_t t = 0; t < s.ToneTips.size(); ++t) {
        size_t at = set::ToneTips + kToneTipSize * t;
        ToneTipRecord& tip = s.ToneTips[t];
        for (size_t k = 0; k < tip.Pairs.size(); ++k) {
            tip.Pairs[k].Tone = rd.I16(at + 4 * k);
            tip.Pairs[k].Duration = rd.I16(at + 4 * k + 2);
        }
        tip.LoopCount = rd.I16(at + 56);
        tip.LoopInterval = rd.I16(at + 58);
    }
    for (size_t e = 0; e < s.Emergency.size(); ++e) {
        size_t at = set::Emergency + kEmergencyFileSize * e;
        s.Emergency[e].EmgGroup = rd.I16(at);
        s.Emergency[e].EmgChannel = rd.I16(at + 2);
        ReadChannelAt(rd, at + 4, s.Emergency[e].Channel);
    }
}

std::vector<uint8_t> EncodeCodeplug(const RadioImage& image) {
    std::vector<uint8_t> out(kCodeplugFileSize, 0);
    EncodeSettings(image.Settings, std::span<uint8_t, kSettingsFileSize>(out.data(), kSettingsFileSize));
    for (size_t k = 0; k < image.Channels.size(); ++k)
        EncodeChannelRecord(image.Channels[k],
                            std::span<uint8_t, kChannelFileSize>(
                                out.data() + kSettingsFileSize + kChannelFileSize * k, kChannelFileSize));
    return out;
}

bool DecodeCodeplug(std::span<const uint8_t> bytes, RadioImage& image) {
    if (bytes.size() < kCodeplugFileSize) return false;
    DecodeSettings(std::span<const uint8_t, kSettingsFileSize>(bytes.data(), kSettingsFileSize),
                   image.Settings);
    for (size_t k = 0; k < image.Channels.size(); ++k)
        DecodeChannelRecord(std::span<const uint8_t, kChannelFileSize>(
                                bytes.data() + kSettingsFileSize + kChannelFileSize * k, kChannelFileSize),
                            image.Channels[k]);
    return true;
}

namespace {

bool ValidCount(const SettingsRecord& s) {
    return s.ChannelCount >= 0 && s.ChannelCount <= kMaxChannels;
}

std::string FailureText(Program& p, const std::string& path, const std::string& reason) {
    return LangText(p, 9002_txt) + "\r\n" + path + ": " + reason;
}

} // namespace

std::string FileFailureText(Program& p, const FileError& error) {
    switch (error.fault) {
    case FileFault::System:
        return FailureText(p, error.path, SystemReason(error.code));
    case FileFault::NotRegular:
        return FailureText(p, error.path, LangText(p, 32200_txt));
    case FileFault::TooLarge:
        return FailureText(p, error.path, LangText(p, 32201_txt));
    case FileFault::None:
        break;
    }
    return LangText(p, 9002_txt);
}

OpenResult OpenCodeplug(Program& p, const std::string& path) {
    std::vector<uint8_t> bytes;
    FileError error;
    if (!ReadWholeFile(path, bytes, kCodeplugReadLimit, &error)) {
        Tell(p, FileFailureText(p, error));
        return OpenResult::Refused;
    }
    constexpr size_t kProbeSize = 13; // the VersionTag
    if (bytes.size() < kProbeSize) {
        Tell(p, FailureText(p, path, LangText(p, 32202_txt)));
        return OpenResult::Refused;
    }
    // Everything is read and checked in a scratch image; the working image and
    // the baseline change only when every check has passed.
    std::vector<uint8_t> head(kSettingsFileSize, 0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kSettingsFileSize), head.begin());
    SettingsRecord probe;
    DecodeSettings(std::span<const uint8_t, kSettingsFileSize>(head.data(), kSettingsFileSize), probe);
    if (ModelDisplayName(std::string(probe.Version.ModelCode.Raw())) != ModelDisplayName(p.Model.ModelCode)) {
        TellId(p, 9012_txt);
        return OpenResult::Refused;
    }
    std::string version = TrimField(probe.Version.FormatVersion.Raw());
    if (!IsVersionText(version)) {
        TellId(p, 9065_txt);
        return OpenResult::Refused;
    }
    if (!IsFormatSupported(p.Versions, kProgramFormatVersion, version)) {
        if (Tell(p, VersionMismatchText(p, version), MsgIcon::None, MsgButtons::YesNo) == MsgAnswer::Yes) {
            StartProgramFor(p, version);
            p.QuitRequested = true;
            return OpenResult::Quit;
        }
        return OpenResult::Refused;
    }
    RadioImage scratch;
    if (!DecodeCodeplug(bytes, scratch)) {
        Tell(p, FailureText(p, path, LangText(p, 32202_txt)));
        return OpenResult::Refused;
    }
    if (!ValidCount(scratch.Settings)) {
        Tell(p, FailureText(p, path, LangText(p, 32203_txt)));
        return OpenResult::Refused;
    }
    if (BandTextForType(scratch.Settings.Version.ModelType).empty()) {
        Tell(p, "Country Mode Error!");
        return OpenResult::Refused;
    }
    scratch.Settings.Version.FormatVersion.Assign(kProgramFormatVersion);
    p.Baseline = scratch;
    CopyFromBaseline(p);
    p.Doc.Path = path;
    p.Doc.Untitled = false;
    return OpenResult::Opened;
}

bool SaveCodeplug(Program& p, const std::string& path) {
    // Built aside and committed only once the file is safely on disk, so a failed
    // save leaves the baseline (and with it the unsaved-changes test) as it was.
    RadioImage next = p.Baseline;
    SettingsRecord stamped = p.Image.Settings;
    StampVersion(p, stamped);
    next.Settings = stamped;
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        next.Channels[static_cast<size_t>(i)] = p.Image.Channels[static_cast<size_t>(i)];
    FileError error;
    if (!WriteFileAtomic(path, EncodeCodeplug(next), &error)) {
        Tell(p, FileFailureText(p, error));
        return false;
    }
    p.Image.Settings.Version = stamped.Version;
    p.Baseline = next;
    p.Doc.Path = path;
    p.Doc.Untitled = false;
    p.Notify.captionChanged();
    return true;
}

bool LoadInitFull(Program& p, const std::string& path) {
    std::vector<uint8_t> bytes;
    RadioImage scratch = p.Baseline;
    bool ok = ReadWholeFile(path, bytes, kCodeplugReadLimit) && DecodeCodeplug(bytes, scratch) &&
              ValidCount(scratch.Settings) && !BandTextForType(scratch.Settings.Version.ModelType).empty();
    if (!ok) {
        CopyToBaseline(p);
        return false;
    }
    p.Baseline = scratch;
    CopyFromBaseline(p);
    return true;
}

bool LoadInitSettings(Program& p, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, kCodeplugReadLimit) || bytes.size() < kSettingsFileSize) {
        CopyToBaseline(p);
        return false;
    }
    SettingsRecord s;
    DecodeSettings(std::span<const uint8_t, kSettingsFileSize>(bytes.data(), kSettingsFileSize), s);
    s.ChannelCount = 0;
    StampVersion(p, s);
    p.Image.Settings = s;
    p.Baseline.Settings = s;
    return true;
}

} // namespace tarvane
