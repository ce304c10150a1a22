#include "state/lang/LangText.h"

#include "base/NumberText.h"
#include "state/Program.h"
#include "state/lang/EnglishTexts.h"

namespace tarvane {

const char* LangSection(int32_t id) {
    if (id < 9000) return "OTHER";
    if (id >= 32000) return "Others";
    static const char* const kSections[] = {
        "Msg",    "Menu",    "ToolBar",  "Main",   "Model",    "ChannelInfo", "ChannelEdit", "Option",
        "Radio",  "DTMF",    "TestFre",  "EMG",    "Local",    "Port",        "Lang",        "About",
        "KeySet", "ScanSet", "AlertSet", "CHEdit", "TONETIPS", "GroupName",   "ResetMode"};
    return kSections[(id - 9000) / 1000];
}

std::string LangFilePath(const Program& p) {
    return p.Dirs.ProgramFolder + "/language/" + p.Lang.FileName;
}

std::string LangText(Program& p, TextId id) {
    // The file is parsed once per language rather than on every lookup; a switch
    // of language changes the path and so re-reads it.
    std::string path = LangFilePath(p);
    if (path != p.LangCachePath) {
        p.LangCache.Load(path);
        p.LangCachePath = path;
    }
    std::string text = p.LangCache.GetOr(LangSection(id.value), std::to_string(id.value));
    // A file that lacks the text (or is missing or unreadable) must not leave a
    // blank menu or message: the English text is compiled in.
    if (text.empty()) text = Trim(EnglishText(id.value));
    if (text.size() > 254) {
        // Cut on a character boundary: the files are UTF-8.
        size_t cut = 254;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text.resize(cut);
    }
    return text;
}

MsgAnswer Tell(Program& p, const std::string& text, MsgIcon icon, MsgButtons buttons,
               const std::string& title) {
    if (!p.Prompts.message) return DefaultAnswer(buttons);
    return p.Prompts.message(text, icon, buttons, title);
}

MsgAnswer TellId(Program& p, TextId id, MsgIcon icon, MsgButtons buttons) {
    return Tell(p, LangText(p, id), icon, buttons);
}

std::string FillIn(const std::string& text, const std::vector<std::string>& values) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        // The longest run of digits after '%' that still names a value, so "%12"
        // reads as value 12 when there are twelve and as value 1 then "2" otherwise.
        size_t n = 0, used = 0;
        for (size_t j = i + 1, v = 0; j < text.size() && text[j] >= '0' && text[j] <= '9'; ++j) {
            v = v * 10 + static_cast<size_t>(text[j] - '0');
            if (v > values.size()) break;
            if (v >= 1) n = v, used = j - i;
        }
        if (text[i] == '%' && n > 0) {
            out += values[n - 1]; // inserted as is: a value is never searched for marks
            i += used;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace tarvane
