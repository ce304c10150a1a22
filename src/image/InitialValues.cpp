#include "image/InitialValues.h"

#include <ctime>
#include <filesystem>

#include "base/NumberText.h"
#include "freq/ChannelSlots.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "state/Program.h"

namespace tarvane {

std::string TodayText() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &tm);
    return buf;
}

namespace {

// A fixed text holding a NUL and then blanks: how the radio information marks an empty text.
template <size_t N> FixedText<N> NulThenBlanks() {
    FixedText<N> t;
    t.Assign(std::string(1, '\0'));
    return t;
}

template <size_t N> FixedText<N> TextWithNul(const std::string& s) {
    FixedText<N> t;
    t.Assign(s + std::string(1, '\0'));
    return t;
}

void InitToneTips(SettingsRecord& s) {
    auto set = [&](int tip, std::initializer_list<TonePair> pairs) {
        ToneTipRecord& r = s.ToneTips[static_cast<size_t>(tip)];
        size_t k = 0;
        for (const TonePair& pr : pairs)
            r.Pairs[k++] = pr;
        r.LoopCount = 1;
    };
    for (auto& r : s.ToneTips)
        r = ToneTipRecord{};
    set(0, {{210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}});
    set(1, {{80, 4},
            {0, 4},
            {80, 4},
            {0, 4},
            {80, 4},
            {0, 4},
            {80, 4},
            {0, 4},
            {80, 4},
            {0, 4},
            {80, 4},
            {0, 4},
            {80, 4},
            {0, 4}});
    set(2, {{170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}});
    set(3, {{64, 6}, {94, 6}, {134, 6}, {163, 6}, {192, 6}});
    set(4, {{150, 20}, {70, 20}, {150, 20}, {70, 20}, {150, 20}, {70, 20}});
}

void InitRadioInfo(Program& p) {
    RadioInfoRecord& r = p.RadioInfo;
    std::string today = TodayText();
    r.ModelType = p.Image.Settings.Version.ModelType;
    r.Head16[0] = NulThenBlanks<16>();
    r.Head16[1] = NulThenBlanks<16>();
    r.Head16[2] = TextWithNul<16>(today);
    r.Head16[3] = TextWithNul<16>(today);
    r.TextG = NulThenBlanks<96>();
    r.SoftVersion = "V1.00";
    r.ModelCode = p.Model.ModelCode;
    r.TextC.clear();
    r.TextA.Assign(today.substr(5, 2) + "-1-E-1");
    r.TextB.Assign("001A");
    r.Tail16[0] = NulThenBlanks<16>();
    r.Tail16[1] = TextWithNul<16>(today);
    r.Tail16[2] = TextWithNul<16>(today);
    r.Tail16[3] = NulThenBlanks<16>();
}

} // namespace

void InitBuiltInImage(Program& p) {
    p.Doc.Untitled = true;
    p.Doc.Path = "new.dat";
    SettingsRecord& s = p.Image.Settings;

    s.KeyTable[0] = 3;
    for (int k = 1; k < kKeyTableSize; ++k)
        s.KeyTable[static_cast<size_t>(k)] = static_cast<int16_t>(k);

    FeatureBlock& f = s.Features;
    f.CurrentGroup = 0;
    f.MemChannelUse = 0;
    f.ActiveGroup = 0;
    f.MemChannelSel = 1;
    f.GroupEnabled.fill(0);
    f.GroupEnabled[0] = 1;
    f.WorkChannel.fill(0);
    f.GroupEmgChannel1.fill(0);
    f.GroupEmgChannel2.fill(0);
    f.Options = {0, 4, 1, 1, 3, 0, 3, 0, 0, 0, 1, 1, 1, 0, 0, 1, 160};
    f.GroupEmgAmFm1.fill(0);
    f.GroupEmgAmFm2.fill(0);
    f.Display.fill(0);
    f.EmgChannelSel = 0;
    f.EmgEditAllowed = 0;
    f.DisplayMode = 0;

    ChannelRecord& c = s.CommonChannel;
    c.OffSetFre = 5;
    c.RDCT = c.TDCT = c.DUP = c.HI_CUT = c.BUSY = c.NB = c.Add_Sub_5K = c.AM_FM = c.Tx_Power = c.Public = 0;
    c.RBTone = c.DTMF_BOT = c.DTMF_EOT = c.DTMF_Call = c.TSQ = 0;
    for (auto& e : s.Emergency)
        e.EmgGroup = e.EmgChannel = 0;

    DtmfBlock& d = s.Dtmf;
    d.DtmfRate = 10;
    d.FirstDigitTime = 0;
    d.FirstDigitDelay = 2;
    d.StarHashTime = 0;
    d.DKeySetting = 0;
    d.DtmfDisplay = 1;
    for (auto& code : d.Codes) {
        code.Length = 0;
        code.Code.Assign("");
    }

    s.ChannelCount = 0;
    std::string centre = FormatFixed((p.Model.LowerLimit + p.Model.UpperLimit) / 2, 5);
    AppendChannel(p.Image, 1, centre);
    AppendChannel(p.Image, 401, centre);
    const char* fixed[] = {"28.015000", "28.145000", "28.115000", "28.085000", "28.055000", "28.025000",
                           "28.075000", "28.005000", "28.015000", "28.145000", "28.115000"};
    for (int i = 0; i < 11; ++i)
        AppendChannel(p.Image, 402 + i, fixed[i]);
    p.ChannelTableChannel = 1;

    StampVersion(p, s);
    InitToneTips(s);
    InitRadioInfo(p);
    CopyToBaseline(p);
}

std::string InitFileName(const Program& p, bool factory) {
    return p.Model.ModelCode + "_" + std::to_string(p.Model.ModelType) + (factory ? ".dat" : "_NEW.dat");
}

void InitImage(Program& p) {
    InitBuiltInImage(p);
    std::string folder = p.Dirs.ProgramFolder + "/Init/";
    std::string name = InitFileName(p, p.InitialSetupRequested);
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder + name, ec)) {
        LoadInitFull(p, folder + name);
    } else if (std::string("Tarvane_0.dat").starts_with(p.Model.ModelCode + "_")) {
        // A missing fallback leaves the built-in values standing.
        LoadInitSettings(p, folder + "Tarvane_0.dat");
    }
}

} // namespace tarvane

namespace tarvane {
void NewDocument(Program& p) {
    InitImage(p);
    p.InitialSetupRequested = false;
}
} // namespace tarvane
