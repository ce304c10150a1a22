#include "exchange/ImageJson.h"

#include <cstdio>

#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "freq/FreqCodec.h"
#include "image/ModelVersion.h"
#include "state/Program.h"

namespace tarvane {
namespace {

constexpr const char* kOptionNames[kOptionCount] = {
    "Beep",        "TimeOutTimer", "Backlight",      "Volume",   "Squelch",  "AsqFun",
    "AsqValue",    "GainControl",  "ChannelDisplay", "ScanType", "ScanTime", "SquelchStepBack",
    "AsqStepBack", "AutoPowerOn",  "MemEditAllowed", "SwrInUse", "SwrLimit"};
constexpr const char* kDisplayNames[] = {"ScreenSaver", "ScreenSaverColour", "TimeFormat", "ScreenSaverOff"};

void Escape(std::string& out, const std::string& s) {
    out += '"';
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        // Length of a valid UTF-8 sequence starting here, 0 if none.
        size_t n = c < 0x80                   ? 1
                   : (c >= 0xC2 && c <= 0xDF) ? 2
                   : (c >= 0xE0 && c <= 0xEF) ? 3
                   : (c >= 0xF0 && c <= 0xF4) ? 4
                                              : 0;
        if (n > 1) {
            if (i + n > s.size()) n = 0;
            for (size_t k = 1; n && k < n; ++k)
                if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) n = 0;
            if (n == 3 && ((c == 0xE0 && static_cast<unsigned char>(s[i + 1]) < 0xA0) ||
                           (c == 0xED && static_cast<unsigned char>(s[i + 1]) > 0x9F)))
                n = 0;
            if (n == 4 && ((c == 0xF0 && static_cast<unsigned char>(s[i + 1]) < 0x90) ||
                           (c == 0xF4 && static_cast<unsigned char>(s[i + 1]) > 0x8F)))
                n = 0;
        }
        if (n == 0) { // not UTF-8: the byte as a Latin-1 character
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
            ++i;
            continue;
        }
        if (n == 1) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        } else {
            out.append(s, i, n);
        }
        i += n;
    }
    out += '"';
}

void Write(std::string& out, const Json& v, int depth) {
    const std::string pad(static_cast<size_t>(2 * (depth + 1)), ' ');
    const std::string closePad(static_cast<size_t>(2 * depth), ' ');
    switch (v.kind) {
    case Json::Kind::Null:
        out += "null";
        break;
    case Json::Kind::Number:
        out += std::to_string(v.number);
        break;
    case Json::Kind::Bool:
        out += v.number ? "true" : "false";
        break;
    case Json::Kind::String:
        Escape(out, v.text);
        break;
    case Json::Kind::Array:
        if (v.items.empty()) {
            out += "[]";
            break;
        }
        out += "[\n";
        for (size_t i = 0; i < v.items.size(); ++i) {
            out += pad;
            Write(out, v.items[i], depth + 1);
            out += i + 1 < v.items.size() ? ",\n" : "\n";
        }
        out += closePad + "]";
        break;
    case Json::Kind::Object:
        if (v.members.empty()) {
            out += "{}";
            break;
        }
        out += "{\n";
        for (size_t i = 0; i < v.members.size(); ++i) {
            out += pad;
            Escape(out, v.members[i].first);
            out += ": ";
            Write(out, v.members[i].second, depth + 1);
            out += i + 1 < v.members.size() ? ",\n" : "\n";
        }
        out += closePad + "}";
        break;
    }
}

template <class A> Json Numbers(const A& values) {
    Json a = Json::Arr();
    for (auto x : values)
        a.Push(Json::Num(x));
    return a;
}

Json ChannelJson(const ChannelRecord& r, int band) {
    Json c = Json::Obj();
    int group = -1, channel = 0;
    SlotPlace(r.SlotNumber, band, group, channel);
    c.Add("slot", Json::Num(r.SlotNumber));
    if (group >= 0) {
        c.Add("group", Json::Str(GroupName(group, band)));
        c.Add("channel", Json::Num(channel));
    } else {
        c.Add("group", Json()).Add("channel", Json());
    }
    // A text that is not numeric is shown as it is.
    const std::string shown = group >= 0 ? FreqToGroupDisplaySilent(r.RxFreq.Raw(), group, band)
                                         : FreqToDisplaySilent(r.RxFreq.Raw());
    c.Add("RxFreq",
          IsNoFreq(r.RxFreq.Raw()) ? Json() : Json::Str(shown.empty() ? r.RxFreq.Trimmed() : shown));
    // A plan's display text stands for several stored values (a UK channel shows
    // its plan frequency whatever the last digits hold): the stored text beside it
    // keeps every two different records apart.
    c.Add("RxFreqStored", IsNoFreq(r.RxFreq.Raw()) ? Json() : Json::Str(r.RxFreq.Trimmed()));
    const std::pair<const char*, int16_t> fields[] = {{"IsBlank", r.IsBlank},
                                                      {"Scan", r.Scan},
                                                      {"OffSetFre", r.OffSetFre},
                                                      {"RDCT", r.RDCT},
                                                      {"TDCT", r.TDCT},
                                                      {"DUP", r.DUP},
                                                      {"HI_CUT", r.HI_CUT},
                                                      {"BUSY", r.BUSY},
                                                      {"NB", r.NB},
                                                      {"Add_Sub_5K", r.Add_Sub_5K},
                                                      {"AM_FM", r.AM_FM},
                                                      {"Tx_Power", r.Tx_Power},
                                                      {"Public", r.Public},
                                                      {"RBTone", r.RBTone},
                                                      {"DTMF_BOT", r.DTMF_BOT},
                                                      {"DTMF_EOT", r.DTMF_EOT},
                                                      {"DTMF_Call", r.DTMF_Call},
                                                      {"TSQ", r.TSQ}};
    for (const auto& [name, value] : fields)
        c.Add(name, Json::Num(value));
    c.Add("RxTone", Json::Str(ToneName(r.RDCT))).Add("TxTone", Json::Str(ToneName(r.TDCT)));
    return c;
}

} // namespace

bool SlotPlace(int slot, int band, int& group, int& channel) {
    for (int g = 0; g <= 12; ++g) {
        const int n = slot - GroupBase(g, band);
        if (GroupSize(g, band) > 0 && n >= 1 && n <= GroupSize(g, band)) {
            group = g;
            channel = n;
            return true;
        }
    }
    group = -1;
    channel = 0;
    return false;
}

const Json* Json::Find(const std::string& key) const {
    for (const auto& [k, v] : members)
        if (k == key) return &v;
    return nullptr;
}

std::string WriteJson(const Json& value) {
    std::string out;
    Write(out, value, 0);
    return out + "\n";
}

Json ImageJson(const RadioImage& image, int band) {
    const SettingsRecord& s = image.Settings;
    const FeatureBlock& f = s.Features;
    Json doc = Json::Obj();
    doc.Add("ModelCode", Json::Str(s.Version.ModelCode.Trimmed()));
    doc.Add("ModelType", Json::Str(TypeName(s.Version.ModelType)));
    doc.Add("Band", Json::Str(BandTextForType(s.Version.ModelType)));
    doc.Add("FormatVersion", Json::Str(s.Version.FormatVersion.Trimmed()));
    doc.Add("ChannelCount", Json::Num(s.ChannelCount));

    Json settings = Json::Obj();
    settings.Add("CurrentGroup", Json::Num(f.CurrentGroup)).Add("MemChannelUse", Json::Num(f.MemChannelUse));
    settings.Add("ActiveGroup", Json::Num(f.ActiveGroup)).Add("MemChannelSel", Json::Num(f.MemChannelSel));
    settings.Add("GroupEnabled", Numbers(f.GroupEnabled)).Add("WorkChannel", Numbers(f.WorkChannel));
    settings.Add("GroupEmgChannel1", Numbers(f.GroupEmgChannel1))
        .Add("GroupEmgChannel2", Numbers(f.GroupEmgChannel2));
    settings.Add("GroupEmgAmFm1", Numbers(f.GroupEmgAmFm1)).Add("GroupEmgAmFm2", Numbers(f.GroupEmgAmFm2));
    for (int i = 0; i < kOptionCount; ++i)
        settings.Add(kOptionNames[i], Json::Num(f.Options[static_cast<size_t>(i)]));
    for (size_t i = 0; i < f.Display.size(); ++i)
        settings.Add(kDisplayNames[i], Json::Num(f.Display[i]));
    settings.Add("EmgChannelSel", Json::Num(f.EmgChannelSel))
        .Add("EmgEditAllowed", Json::Num(f.EmgEditAllowed));
    settings.Add("DisplayMode", Json::Num(f.DisplayMode));
    doc.Add("Settings", std::move(settings));
    doc.Add("CommonChannel", ChannelJson(s.CommonChannel, band));

    Json keys = Json::Obj();
    keys.Add("KeyMode", Json::Num(s.KeyTable[0]));
    for (int k = 1; k < kKeyTableSize; ++k)
        keys.Add("Key" + std::to_string(k), Json::Num(s.KeyTable[static_cast<size_t>(k)]));
    doc.Add("Keys", std::move(keys));

    const DtmfBlock& d = s.Dtmf;
    Json dtmf = Json::Obj();
    dtmf.Add("DtmfRate", Json::Num(d.DtmfRate)).Add("FirstDigitTime", Json::Num(d.FirstDigitTime));
    dtmf.Add("FirstDigitDelay", Json::Num(d.FirstDigitDelay)).Add("StarHashTime", Json::Num(d.StarHashTime));
    dtmf.Add("DKeySetting", Json::Num(d.DKeySetting)).Add("DtmfDisplay", Json::Num(d.DtmfDisplay));
    Json codes = Json::Arr();
    for (size_t i = 0; i < d.Codes.size(); ++i) {
        const DtmfCodeEntry& e = d.Codes[i];
        const bool defined = e.Length >= 1 && e.Length <= 16;
        codes.Push(
            Json::Obj()
                .Add("number", Json::Num(static_cast<int64_t>(i + 1)))
                .Add("Length", Json::Num(e.Length))
                .Add("Code",
                     Json::Str(defined ? std::string(e.Code.Raw().substr(0, static_cast<size_t>(e.Length)))
                                       : "")));
    }
    dtmf.Add("Codes", std::move(codes));
    doc.Add("Dtmf", std::move(dtmf));

    Json tips = Json::Arr();
    for (size_t i = 0; i < s.ToneTips.size(); ++i) {
        const ToneTipRecord& t = s.ToneTips[i];
        Json pairs = Json::Arr();
        for (const TonePair& pair : t.Pairs)
            pairs.Push(Json::Arr().Push(Json::Num(pair.Tone)).Push(Json::Num(pair.Duration)));
        tips.Push(Json::Obj()
                      .Add("number", Json::Num(static_cast<int64_t>(i + 1)))
                      .Add("LoopCount", Json::Num(t.LoopCount))
                      .Add("LoopInterval", Json::Num(t.LoopInterval))
                      .Add("Pairs", std::move(pairs)));
    }
    doc.Add("ToneTips", std::move(tips));

    Json emergency = Json::Arr();
    for (size_t i = 0; i < s.Emergency.size(); ++i) {
        const EmergencyRecord& e = s.Emergency[i];
        emergency.Push(Json::Obj()
                           .Add("number", Json::Num(static_cast<int64_t>(i + 1)))
                           .Add("EmgGroup", Json::Num(e.EmgGroup))
                           .Add("EmgChannel", Json::Num(e.EmgChannel))
                           .Add("Channel", ChannelJson(e.Channel, band)));
    }
    doc.Add("Emergency", std::move(emergency));

    Json channels = Json::Arr();
    for (int i = 0; i < image.UsedCount(); ++i)
        channels.Push(ChannelJson(image.Channels[static_cast<size_t>(i)], band));
    doc.Add("Channels", std::move(channels));
    return doc;
}

Json DocumentJson(Program& p) {
    Json doc = ImageJson(p.Image, p.Model.ModelType);
    doc.members.insert(doc.members.begin(), Json::Member{"Path", Json::Str(p.Doc.Path)});
    return doc;
}

Json RadioInfoJson(Program& p) {
    const RadioInfoRecord& r = p.RadioInfo;
    Json info = Json::Obj();
    info.Add("Model", Json::Str(ModelDisplayName(r.ModelCode))).Add("ModelCode", Json::Str(r.ModelCode));
    info.Add("ModelType", Json::Str(TypeName(r.ModelType)))
        .Add("Band", Json::Str(BandTextForType(r.ModelType)));
    // Named as the text output and the radio-information window label them, in their order.
    info.Add("SoftwareVersion", Json::Str(r.SoftVersion));
    info.Add("SerialNumber", Json::Str(r.TextC));
    const char* head[] = {"Dealer", "ProductionDate", "ProgrammingDate"};
    for (size_t i = 0; i < 3; ++i)
        info.Add(head[i], Json::Str(r.Head16[i].Trimmed()));
    info.Add("Hardware", Json::Str(r.TextA.Trimmed())).Add("Batch", Json::Str(r.TextB.Trimmed()));
    const char* tail[] = {"FactoryText1", "FactoryText2", "FactoryText3", "FactoryText4"};
    for (size_t i = 0; i < 4; ++i)
        info.Add(tail[i], Json::Str(r.Tail16[i].Trimmed()));
    info.Add("Remark", Json::Str(r.TextG.Trimmed()));
    const RadioIdentity& id = p.Link.Identity;
    info.Add("Identity", Json::Obj()
                             .Add("RadioModelCode", Json::Str(id.RadioModelCode))
                             .Add("RadioModelType", Json::Num(id.RadioModelType))
                             .Add("RadioFirmwareVersion", Json::Str(id.RadioFirmwareVersion))
                             .Add("CtcssDcsSupported", Json::Num(id.CtcssDcsSupported ? 1 : 0)));
    return info;
}

} // namespace tarvane
