#include "image/CodeplugFile.h"

#include <algorithm>
#include <array>
#include <type_traits>

#include "base/ByteIO.h"
#include "base/FieldHelpers.h"
#include "image/ImageOps.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {
namespace {

// One field of a record in file form: its offset in the record, its width, and the
// member it holds. Encoding and decoding read the same table, so a layout is
// written down once and both directions agree by construction.
template <class R> struct FileField {
    size_t At;
    size_t Width;
    void (*Write)(ByteWriter& w, size_t pos, const R& r);
    void (*Read)(const ByteReader& rd, size_t pos, R& r);
};

// The field table (Fields) and size (Size) of a record in file form, below.
template <class R> struct FileLayout;

template <class T> struct IsStdArray : std::false_type {};
template <class T, size_t N> struct IsStdArray<std::array<T, N>> : std::true_type {};
template <class T> struct IsFixedText : std::false_type {};
template <size_t N> struct IsFixedText<FixedText<N>> : std::true_type {};

// Integers little-endian, texts as their characters, arrays element after
// element, records by their own table.
template <class T> constexpr size_t FileWidth() {
    if constexpr (std::is_same_v<T, int16_t>)
        return 2;
    else if constexpr (std::is_same_v<T, uint8_t>)
        return 1;
    else if constexpr (IsFixedText<T>::value)
        return T::size();
    else if constexpr (IsStdArray<T>::value)
        return std::tuple_size_v<T> * FileWidth<typename T::value_type>();
    else
        return FileLayout<T>::Size;
}

template <class T> void Put(ByteWriter& w, size_t pos, const T& v) {
    if constexpr (std::is_same_v<T, int16_t>) {
        w.I16(pos, v);
    } else if constexpr (std::is_same_v<T, uint8_t>) {
        w.U8(pos, v);
    } else if constexpr (IsFixedText<T>::value) {
        w.Text(pos, v);
    } else if constexpr (IsStdArray<T>::value) {
        for (size_t i = 0; i < v.size(); ++i)
            Put(w, pos + FileWidth<typename T::value_type>() * i, v[i]);
    } else {
        for (const FileField<T>& f : FileLayout<T>::Fields)
            f.Write(w, pos + f.At, v);
    }
}

template <class T> void Get(const ByteReader& rd, size_t pos, T& v) {
    if constexpr (std::is_same_v<T, int16_t>) {
        v = rd.I16(pos);
    } else if constexpr (std::is_same_v<T, uint8_t>) {
        v = rd.U8(pos);
    } else if constexpr (IsFixedText<T>::value) {
        rd.Text(pos, v);
    } else if constexpr (IsStdArray<T>::value) {
        for (size_t i = 0; i < v.size(); ++i)
            Get(rd, pos + FileWidth<typename T::value_type>() * i, v[i]);
    } else {
        for (const FileField<T>& f : FileLayout<T>::Fields)
            f.Read(rd, pos + f.At, v);
    }
}

template <class M> struct MemberOf;
template <class R, class T> struct MemberOf<T R::*> {
    using Record = R;
    using Type = T;
};

// The field at `at` that holds member M, as wide as the member's type.
template <auto M> constexpr auto Field(size_t at) {
    using R = typename MemberOf<decltype(M)>::Record;
    using T = typename MemberOf<decltype(M)>::Type;
    return FileField<R>{at, FileWidth<T>(), [](ByteWriter& w, size_t pos, const R& r) { Put(w, pos, r.*M); },
                        [](const ByteReader& rd, size_t pos, R& r) { Get(rd, pos, r.*M); }};
}

// The fields follow each other in offset order without gap or overlap and fill the record.
template <class R> constexpr bool Tiles() {
    size_t next = 0;
    for (const FileField<R>& f : FileLayout<R>::Fields) {
        if (f.At != next) return false;
        next = f.At + f.Width;
    }
    return next == FileLayout<R>::Size;
}

// ChannelRecord (60 bytes); all 16-bit integers except the frequency text
//  0 SlotNumber  2 IsBlank  4 Scan  6 RxFreq[8]  14 OffSetFre  16 RDCT  18 TDCT  20 DUP  22 HI_CUT
// 24 BUSY  26 NB  28 Add_Sub_5K  30 AM_FM  32 Tx_Power  34 Public  36 RBTone  38 DTMF_BOT  40 DTMF_EOT
// 42 DTMF_Call  44 TSQ  46 Reserved[7]
template <> struct FileLayout<ChannelRecord> {
    using R = ChannelRecord;
    static constexpr size_t Size = 60;
    static constexpr FileField<R> Fields[] = {
        Field<&R::SlotNumber>(0), Field<&R::IsBlank>(2),    Field<&R::Scan>(4),
        Field<&R::RxFreq>(6),     Field<&R::OffSetFre>(14), Field<&R::RDCT>(16),
        Field<&R::TDCT>(18),      Field<&R::DUP>(20),       Field<&R::HI_CUT>(22),
        Field<&R::BUSY>(24),      Field<&R::NB>(26),        Field<&R::Add_Sub_5K>(28),
        Field<&R::AM_FM>(30),     Field<&R::Tx_Power>(32),  Field<&R::Public>(34),
        Field<&R::RBTone>(36),    Field<&R::DTMF_BOT>(38),  Field<&R::DTMF_EOT>(40),
        Field<&R::DTMF_Call>(42), Field<&R::TSQ>(44),       Field<&R::Reserved>(46)};
};

// VersionTag (13 bytes): 0 ModelCode[7]  7 ModelType  9 FormatVersion[4]
template <> struct FileLayout<VersionTag> {
    using R = VersionTag;
    static constexpr size_t Size = 13;
    static constexpr FileField<R> Fields[] = {Field<&R::ModelCode>(0), Field<&R::ModelType>(7),
                                              Field<&R::FormatVersion>(9)};
};

// FeatureBlock (158 bytes)
//   0 CurrentGroup  2 MemChannelUse  4 ActiveGroup  6 MemChannelSel  8 GroupEnabled[10]
//  28 WorkChannel[10]  48 GroupEmgChannel1[10]  68 GroupEmgChannel2[10]  88 Options[17]
// 122 GroupEmgAmFm1[10] (bytes)  132 GroupEmgAmFm2[10] (bytes)  142 Display[4]
// 150 EmgChannelSel  151 EmgEditAllowed  152 DisplayMode (bytes)  153 Reserved[5] (bytes)
template <> struct FileLayout<FeatureBlock> {
    using R = FeatureBlock;
    static constexpr size_t Size = 158;
    static constexpr FileField<R> Fields[] = {
        Field<&R::CurrentGroup>(0),      Field<&R::MemChannelUse>(2),     Field<&R::ActiveGroup>(4),
        Field<&R::MemChannelSel>(6),     Field<&R::GroupEnabled>(8),      Field<&R::WorkChannel>(28),
        Field<&R::GroupEmgChannel1>(48), Field<&R::GroupEmgChannel2>(68), Field<&R::Options>(88),
        Field<&R::GroupEmgAmFm1>(122),   Field<&R::GroupEmgAmFm2>(132),   Field<&R::Display>(142),
        Field<&R::EmgChannelSel>(150),   Field<&R::EmgEditAllowed>(151),  Field<&R::DisplayMode>(152),
        Field<&R::Reserved>(153)};
};

// DtmfCodeEntry (18 bytes): 0 Length  2 Code[16]
template <> struct FileLayout<DtmfCodeEntry> {
    using R = DtmfCodeEntry;
    static constexpr size_t Size = 18;
    static constexpr FileField<R> Fields[] = {Field<&R::Length>(0), Field<&R::Code>(2)};
};

// DtmfBlock (320 bytes)
//   0 DtmfRate  2 FirstDigitTime  4 FirstDigitDelay  6 StarHashTime  8 DKeySetting  10 DtmfDisplay
//  12 Codes[16]  300 Reserved[20] (bytes)
template <> struct FileLayout<DtmfBlock> {
    using R = DtmfBlock;
    static constexpr size_t Size = 320;
    static constexpr FileField<R> Fields[] = {Field<&R::DtmfRate>(0),        Field<&R::FirstDigitTime>(2),
                                              Field<&R::FirstDigitDelay>(4), Field<&R::StarHashTime>(6),
                                              Field<&R::DKeySetting>(8),     Field<&R::DtmfDisplay>(10),
                                              Field<&R::Codes>(12),          Field<&R::Reserved>(300)};
};

// TonePair (4 bytes): 0 Tone  2 Duration
template <> struct FileLayout<TonePair> {
    using R = TonePair;
    static constexpr size_t Size = 4;
    static constexpr FileField<R> Fields[] = {Field<&R::Tone>(0), Field<&R::Duration>(2)};
};

// ToneTipRecord (60 bytes): 0 Pairs[14]  56 LoopCount  58 LoopInterval
template <> struct FileLayout<ToneTipRecord> {
    using R = ToneTipRecord;
    static constexpr size_t Size = 60;
    static constexpr FileField<R> Fields[] = {Field<&R::Pairs>(0), Field<&R::LoopCount>(56),
                                              Field<&R::LoopInterval>(58)};
};

// EmergencyRecord (64 bytes): 0 EmgGroup  2 EmgChannel  4 Channel (a channel record)
template <> struct FileLayout<EmergencyRecord> {
    using R = EmergencyRecord;
    static constexpr size_t Size = 64;
    static constexpr FileField<R> Fields[] = {Field<&R::EmgGroup>(0), Field<&R::EmgChannel>(2),
                                              Field<&R::Channel>(4)};
};

// Settings record (1199 bytes)
//    0 Version (13)           13 ChannelCount        15 Features (158)     173 CommonChannel (60)
//  233 KeyTable (19 x 2)     271 Dtmf (320)          591 ToneTips (8 x 60) 1071 Emergency (2 x 64)
template <> struct FileLayout<SettingsRecord> {
    using R = SettingsRecord;
    static constexpr size_t Size = 1199;
    static constexpr FileField<R> Fields[] = {Field<&R::Version>(0),    Field<&R::ChannelCount>(13),
                                              Field<&R::Features>(15),  Field<&R::CommonChannel>(173),
                                              Field<&R::KeyTable>(233), Field<&R::Dtmf>(271),
                                              Field<&R::ToneTips>(591), Field<&R::Emergency>(1071)};
};

static_assert(Tiles<ChannelRecord>() && Tiles<VersionTag>() && Tiles<FeatureBlock>() &&
              Tiles<DtmfCodeEntry>() && Tiles<DtmfBlock>() && Tiles<TonePair>() && Tiles<ToneTipRecord>() &&
              Tiles<EmergencyRecord>() && Tiles<SettingsRecord>());
static_assert(FileLayout<ChannelRecord>::Size == kChannelFileSize &&
              FileLayout<SettingsRecord>::Size == kSettingsFileSize);

} // namespace

void EncodeChannelRecord(const ChannelRecord& r, std::span<uint8_t, kChannelFileSize> out) {
    ByteWriter w(out);
    Put(w, 0, r);
}

void DecodeChannelRecord(std::span<const uint8_t, kChannelFileSize> in, ChannelRecord& r) {
    ByteReader rd(in);
    Get(rd, 0, r);
}

void EncodeSettings(const SettingsRecord& s, std::span<uint8_t, kSettingsFileSize> out) {
    ByteWriter w(out);
    Put(w, 0, s);
}

void DecodeSettings(std::span<const uint8_t, kSettingsFileSize> in, SettingsRecord& s) {
    ByteReader rd(in);
    Get(rd, 0, s);
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

enum class ImageFault { None, Short, Count, Band };

// A whole codeplug, with what every later step relies on checked: a channel count
// within the list and a known band.
ImageFault DecodeChecked(std::span<const uint8_t> bytes, RadioImage& image) {
    if (!DecodeCodeplug(bytes, image)) return ImageFault::Short;
    const SettingsRecord& s = image.Settings;
    if (s.ChannelCount < 0 || s.ChannelCount > kMaxChannels) return ImageFault::Count;
    if (BandTextForType(s.Version.ModelType).empty()) return ImageFault::Band;
    return ImageFault::None;
}

std::string FailureText(Program& p, const std::string& path, const std::string& reason) {
    return LangText(p, txt::kFileCouldNotRead) + "\r\n" + path + ": " + reason;
}

} // namespace

std::string FileFailureText(Program& p, const FileError& error) {
    switch (error.fault) {
    case FileFault::System:
        return FailureText(p, error.path, SystemReason(error.code));
    case FileFault::NotRegular:
        return FailureText(p, error.path, LangText(p, txt::kNotRegularFileDevice));
    case FileFault::TooLarge:
        return FailureText(p, error.path, LangText(p, txt::kTooLargeCodeplugFile));
    case FileFault::None:
        break;
    }
    return LangText(p, txt::kFileCouldNotRead);
}

OpenResult OpenCodeplug(Program& p, const std::string& path) {
    std::vector<uint8_t> bytes;
    FileError error;
    if (!ReadWholeFile(path, bytes, kCodeplugReadLimit, &error)) {
        Tell(p, FileFailureText(p, error));
        return OpenResult::Refused;
    }
    return OpenCodeplugBytes(p, path, bytes);
}

OpenResult OpenCodeplugBytes(Program& p, const std::string& path, std::span<const uint8_t> bytes) {
    constexpr size_t kProbeSize = FileLayout<VersionTag>::Size;
    if (bytes.size() < kProbeSize) {
        Tell(p, FailureText(p, path, LangText(p, txt::kTooShortCodeplugFile)));
        return OpenResult::Refused;
    }
    // Everything is read and checked in a scratch image; the working image and
    // the baseline change only when every check has passed.
    std::vector<uint8_t> head(kSettingsFileSize, 0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kSettingsFileSize), head.begin());
    SettingsRecord probe;
    DecodeSettings(std::span<const uint8_t, kSettingsFileSize>(head.data(), kSettingsFileSize), probe);
    std::string version = TrimField(probe.Version.FormatVersion.Raw());
    if (ModelDisplayName(std::string(probe.Version.ModelCode.Raw())) != ModelDisplayName(p.Model.ModelCode)) {
        // Another model's codeplug has a format version and a settings record; a
        // text file or a picture has neither and is no codeplug at all.
        if (!IsVersionText(version) || bytes.size() < kSettingsFileSize)
            Tell(p, FailureText(p, path, LangText(p, txt::kNotCodeplugFile)));
        else
            TellId(p, txt::kFileRadioBelongsAnother);
        return OpenResult::Refused;
    }
    if (!IsVersionText(version)) {
        TellId(p, txt::kFilesFormatVersionNot);
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
    switch (DecodeChecked(bytes, scratch)) {
    case ImageFault::Short:
        Tell(p, FailureText(p, path, LangText(p, txt::kTooShortCodeplugFile)));
        return OpenResult::Refused;
    case ImageFault::Count:
        Tell(p, FailureText(p, path, LangText(p, txt::kChannelCountOutRange)));
        return OpenResult::Refused;
    case ImageFault::Band:
        Tell(p, "Country Mode Error!");
        return OpenResult::Refused;
    case ImageFault::None:
        break;
    }
    scratch.Settings.Version.FormatVersion.Assign(kProgramFormatVersion);
    p.Baseline = scratch;
    CopyFromBaseline(p);
    p.Doc.Path = path;
    p.Doc.Untitled = false;
    return OpenResult::Opened;
}

RadioImage SavedImage(const Program& p) {
    RadioImage next = p.Baseline;
    next.Settings = p.Image.Settings;
    StampVersion(p, next.Settings);
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        next.Channels[static_cast<size_t>(i)] = p.Image.Channels[static_cast<size_t>(i)];
    return next;
}

bool SaveCodeplug(Program& p, const std::string& path) {
    // Built aside and committed only once the file is safely on disk, so a failed
    // save leaves the baseline (and with it the unsaved-changes test) as it was.
    RadioImage next = SavedImage(p);
    FileError error;
    if (!WriteFileAtomic(path, EncodeCodeplug(next), &error)) {
        Tell(p, FileFailureText(p, error));
        return false;
    }
    p.Image.Settings.Version = next.Settings.Version;
    p.Baseline = next;
    p.Doc.Path = path;
    p.Doc.Untitled = false;
    p.Notify.captionChanged();
    return true;
}

bool LoadInitFull(Program& p, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, kCodeplugReadLimit)) {
        CopyToBaseline(p);
        return false;
    }
    return LoadInitFullBytes(p, bytes);
}

bool LoadInitFullBytes(Program& p, std::span<const uint8_t> bytes) {
    RadioImage scratch = p.Baseline;
    if (DecodeChecked(bytes, scratch) != ImageFault::None) {
        CopyToBaseline(p);
        return false;
    }
    p.Baseline = scratch;
    CopyFromBaseline(p);
    return true;
}

bool LoadInitSettings(Program& p, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, kCodeplugReadLimit)) {
        CopyToBaseline(p);
        return false;
    }
    return LoadInitSettingsBytes(p, bytes);
}

bool LoadInitSettingsBytes(Program& p, std::span<const uint8_t> bytes) {
    if (bytes.size() < kSettingsFileSize) {
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
