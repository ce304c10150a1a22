#include "state/lang/LangText.h"

#include "state/Program.h"

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
    if (text.size() > 254) {
        // Cut on a character boundary: the files are UTF-8.
        size_t cut = 254;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text.resize(cut);
    }
    return text;
}

void SetLanguage(Program& p, int index) {
    p.Lang.Index = index == 2 ? 2 : 1;
    p.Lang.FileName = p.Lang.Index == 2 ? "chinese.ini" : "english.ini";
}

MsgAnswer Tell(Program& p, const std::string& text, MsgIcon icon, MsgButtons buttons,
               const std::string& title) {
    if (!p.Prompts.message) return DefaultAnswer(buttons);
    return p.Prompts.message(text, icon, buttons, title);
}

MsgAnswer TellId(Program& p, TextId id, MsgIcon icon, MsgButtons buttons) {
    return Tell(p, LangText(p, id), icon, buttons);
}

std::string FillIn(std::string text, std::initializer_list<std::string> values) {
    int n = 0;
    for (const std::string& value : values) {
        const std::string mark = "%" + std::to_string(++n);
        if (const size_t at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), value);
    }
    return text;
}

} // namespace tarvane
