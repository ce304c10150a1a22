// Build-time tool: turns a readable channel list into the initial codeplugs of
// Init/, through the program's own image operations and file codec, and writes
// the flag file.
//
//   tarvane-mkinit SOURCE.txt OUT.dat [OUT.dat ...]
//   tarvane-mkinit --flags Setting.ini
//
// Source lines ('#' starts a comment):
//   model CODE TYPE            start from the built-in values of that model and band
//   clear                      no channel in use
//   enable GROUP               switch a group on (all others off until enabled)
//   ch GROUP N MHZ [FM|AM]     channel N of GROUP (replaces an existing one)
//   offset GROUP N KHZ DUP     duplex offset and direction (0 off, 1 +, 2 -)
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/NumberText.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "state/Program.h"

using namespace tarvane;

namespace {

int Fail(int line, const std::string& why) {
    std::cerr << "line " << line << ": " << why << "\n";
    return 1;
}

ChannelRecord* Channel(Program& p, const std::string& group, int n, int& slot) {
    int g = GroupByName(group, p.Model.ModelType);
    if (g < 0 || n < 1 || n > GroupSize(g, p.Model.ModelType)) return nullptr;
    slot = GroupBase(g, p.Model.ModelType) + n;
    int i = FindChannelSlot(p.Image, slot);
    return i < 0 ? nullptr : &p.Image.Channels[static_cast<size_t>(i)];
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--flags") {
        std::ofstream out(argv[2], std::ios::binary);
        const char flags[4] = {0, 0, 0, 1};
        out.write(flags, 4);
        return out ? 0 : 1;
    }
    if (argc < 3) {
        std::cerr << "usage: tarvane-mkinit SOURCE.txt OUT.dat [OUT.dat ...]\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) return Fail(0, std::string("cannot read ") + argv[1]);
    Program p;
    bool enabledAny = false;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (auto hash = text.find('#'); hash != std::string::npos) text.resize(hash);
        std::istringstream ls(text);
        std::string word;
        if (!(ls >> word)) continue;
        if (word == "model") {
            std::string code;
            int type = -1;
            ls >> code >> type;
            p.Model.ModelCode = code;
            if (!SetModelType(p, type)) return Fail(line, "unknown band");
            InitBuiltInImage(p);
        } else if (word == "clear") {
            p.Image.Settings.ChannelCount = 0;
        } else if (word == "enable") {
            std::string group;
            ls >> group;
            int g = GroupByName(group, p.Model.ModelType);
            if (g < 0 || g > 9) return Fail(line, "not a plan or bank: " + group);
            if (!enabledAny) p.Image.Settings.Features.GroupEnabled.fill(0);
            enabledAny = true;
            p.Image.Settings.Features.GroupEnabled[static_cast<size_t>(g)] = 1;
        } else if (word == "ch") {
            std::string group, mhz, mode = "FM";
            int n = 0;
            ls >> group >> n >> mhz >> mode;
            auto v = ParseDouble(mhz);
            if (!v || (mode != "FM" && mode != "AM")) return Fail(line, "bad channel line");
            int slot = 0;
            ChannelRecord* r = Channel(p, group, n, slot);
            if (!r) {
                if (slot == 0 && GroupByName(group, p.Model.ModelType) < 0)
                    return Fail(line, "no group " + group);
                if (slot == 0) return Fail(line, "no channel " + std::to_string(n) + " in " + group);
                AppendChannel(p.Image, slot, FormatFixed(*v, 5));
                r = &p.Image.Channels[static_cast<size_t>(p.Image.UsedCount() - 1)];
            } else {
                r->RxFreq.Assign(DisplayToFreq(FormatFixed(*v, 5)));
            }
            r->AM_FM = mode == "AM" ? 1 : 0;
        } else if (word == "offset") {
            std::string group;
            int n = 0, khz = 0, dup = 0;
            ls >> group >> n >> khz >> dup;
            int slot = 0;
            ChannelRecord* r = Channel(p, group, n, slot);
            if (!r) return Fail(line, "offset for a channel that does not exist");
            r->OffSetFre = static_cast<int16_t>(khz);
            r->DUP = static_cast<int16_t>(dup);
        } else {
            return Fail(line, "unknown word " + word);
        }
    }
    for (int i = 2; i < argc; ++i) {
        if (!WriteFileAtomic(argv[i], EncodeCodeplug([&] {
                                 CopyToBaseline(p);
                                 return p.Baseline;
                             }()))) {
            std::cerr << "cannot write " << argv[i] << "\n";
            return 1;
        }
    }
    return 0;
}
