#include "features/dtmf/DtmfArea.h"

#include <algorithm>

#include "features/dtmf/DtmfReferences.h"
#include "freq/ChannelEdit.h"
#include "state/Program.h"

namespace tarvane {
namespace {

constexpr int kCodes = 16;
constexpr int kDigits = 16;

int DigitValue(char c) {
    if (c == '*') return 0xF;
    if (c == '#') return 0xE;
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0; // anything else reads as the digit 0, as a hexadecimal parse of it would
}

char DigitChar(int v) {
    static const char kChars[] = "0123456789ABCD#*";
    return kChars[v & 0xF];
}

} // namespace

bool DtmfCodeDefined(const DtmfCodeEntry& e) {
    return e.Length >= 1 && e.Length <= kDigits;
}

void PackDtmf(RadioMemory& m, const SettingsRecord& s) {
    const DtmfBlock& d = s.Dtmf;
    const int16_t settings[6] = {d.DtmfRate,     d.FirstDigitDelay, d.FirstDigitTime,
                                 d.StarHashTime, d.DKeySetting,     d.DtmfDisplay};
    for (int i = 0; i < 6; ++i)
        m[static_cast<size_t>(mem::kDtmfSettings + i)] = static_cast<uint8_t>(settings[i] & 0xFF);
    m[mem::kDtmfPresence] = m[mem::kDtmfPresence + 1] = 0;
    for (int n = 0; n < kCodes; ++n) {
        const DtmfCodeEntry& e = d.Codes[static_cast<size_t>(n)];
        uint8_t* slot = m.data() + mem::kDtmfDigits + kDigits * n;
        std::fill_n(slot, kDigits, uint8_t{255});
        if (!DtmfCodeDefined(e)) continue;
        SetBit(m, mem::kDtmfPresence, n);
        std::string text = e.Code.Trimmed();
        if (static_cast<int>(text.size()) < e.Length)
            text.append(static_cast<size_t>(e.Length) - text.size(), '0');
        for (int k = 0; k < e.Length; ++k)
            slot[k] = static_cast<uint8_t>(DigitValue(text[static_cast<size_t>(k)]));
    }
}

void UnpackDtmf(const RadioMemory& m, SettingsRecord& s) {
    DtmfBlock& d = s.Dtmf;
    int16_t* settings[6] = {&d.DtmfRate,     &d.FirstDigitDelay, &d.FirstDigitTime,
                            &d.StarHashTime, &d.DKeySetting,     &d.DtmfDisplay};
    for (int i = 0; i < 6; ++i)
        *settings[i] = m[static_cast<size_t>(mem::kDtmfSettings + i)];
    for (int n = 0; n < kCodes; ++n) {
        DtmfCodeEntry& e = d.Codes[static_cast<size_t>(n)];
        if (!TestBit(m, mem::kDtmfPresence, n)) {
            e.Length = 0; // the text stays as it was
            continue;
        }
        const uint8_t* slot = m.data() + mem::kDtmfDigits + kDigits * n;
        std::string code;
        for (int k = 0; k < kDigits && slot[k] < 16; ++k)
            code += DigitChar(slot[k]);
        e.Length = static_cast<int16_t>(code.size());
        e.Code.Assign(code);
    }
}

void StoreDtmfCode(Program& p, int n, std::string_view text) {
    if (n < 1 || n > kCodes) return;
    std::string_view t = text.substr(0, text.find('\0'));
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    t = t.substr(0, kDigits);
    DtmfCodeEntry& e = p.Image.Settings.Dtmf.Codes[static_cast<size_t>(n - 1)];
    e.Length = static_cast<int16_t>(t.size());
    e.Code.Assign(t);
    if (e.Length == 0) ClearDtmfReferences(p, n);
    p.Notify.dtmfCodesChanged();
}

} // namespace tarvane
