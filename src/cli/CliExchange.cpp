// The exchange commands of tarvane-cli: channels to and from CSV, and the
// comparison of two codeplugs. The work is the core's; this file picks files and
// prints reports.
#include <cstdio>

#include "base/NumberText.h"
#include "cli/Cli.h"
#include "exchange/ChannelExport.h"
#include "exchange/ChannelImport.h"
#include "exchange/ImageCompare.h"
#include "freq/Bands.h"
#include "image/CodeplugFile.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The group named by --group, in any case, or `fallback` without one; nullopt
// (with the groups the band has) for a name the band lacks.
std::optional<int> GroupOption(Program& p, const CliArgs& args, int fallback) {
    if (!args.Has("--group")) return fallback;
    const int band = p.Model.ModelType;
    const std::string wanted = Upper(args.Get("--group"));
    std::string names;
    for (int g = 0; g < 13; ++g) {
        if (GroupSize(g, band) <= 0) continue;
        const std::string name = GroupName(g, band);
        if (Upper(name) == wanted) return g;
        names += (names.empty() ? "" : ", ") + name;
    }
    std::fprintf(stderr, "%s\n%s\n",
                 FillIn(LangText(p, txt::kThereNoGroupRadio), {args.Get("--group")}).c_str(),
                 FillIn(LangText(p, txt::kGroupsOfRadio), {names}).c_str());
    return std::nullopt;
}

} // namespace

int CliExport(Program& p, const CliArgs& args) {
    InstallCliPrompts(p, 0, nullptr);
    if (OpenCodeplug(p, args.words[0]) != OpenResult::Opened) return kExitFailed;
    const auto group = GroupOption(p, args, -1);
    if (!group) return kExitUsage;
    int rows = 0;
    const std::string text = ExportChannels(p, *group, &rows);
    const std::string out = args.Get("--out");
    if (!WriteFileAtomic(out, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()))) {
        std::fprintf(stderr, "%s\n", FillIn(LangText(p, txt::kFileCannotRead), {out}).c_str());
        return kExitFailed;
    }
    std::printf("%s\n", FillIn(LangText(p, txt::kChannelsWritten), {std::to_string(rows), out}).c_str());
    return kExitOk;
}

int CliImport(Program& p, const CliArgs& args) {
    InstallCliPrompts(p, 0, nullptr);
    if (OpenCodeplug(p, args.words[0]) != OpenResult::Opened) return kExitFailed;
    ImportOptions options;
    const auto group = GroupOption(p, args, -1);
    if (!group) return kExitUsage;
    options.Group = *group;
    if (args.Has("--first")) {
        auto first = ToInt16(args.Get("--first"));
        if (!first || *first < 1) {
            std::fprintf(stderr, "--first must be a channel number from 1\n");
            return kExitUsage;
        }
        options.First = *first;
    }
    std::string text, error;
    if (!ReadCsvFile(p, args.words[1], text, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailed;
    }
    const ImportResult result = ImportChannels(p, text, options);
    if (!result.FileError.empty()) {
        std::fprintf(stderr, "%s\n", result.FileError.c_str());
        return kExitFailed;
    }
    for (const ImportRow& row : result.Rows)
        if (row.Outcome != RowOutcome::Taken) std::printf("%s\n", ImportRowText(p, row).c_str());
    std::printf("%s\n", ImportSummary(p, result).c_str());
    const int refused = result.Count(RowOutcome::Refused);
    if (refused > 0 && !args.Has("--skip-bad")) {
        std::fprintf(stderr, "%s\n",
                     FillIn(LangText(p, txt::kNothingWrittenRowsRefused), {std::to_string(refused)}).c_str());
        return kExitFailed;
    }
    p.Image = result.Image;
    return SaveCodeplug(p, args.Get("--out")) ? kExitOk : kExitFailed;
}

int CliDiff(Program& p, const CliArgs& args) {
    InstallCliPrompts(p, 0, nullptr);
    constexpr int kTrouble = 2; // 0 equal, 1 different
    if (OpenCodeplug(p, args.words[0]) != OpenResult::Opened) return kTrouble;
    const RadioImage a = p.Image;
    if (OpenCodeplug(p, args.words[1]) != OpenResult::Opened) return kTrouble;
    const std::vector<Difference> differences = CompareImages(a, p.Image);
    for (const Difference& d : differences)
        std::printf("%s\n", DifferenceText(d).c_str());
    return differences.empty() ? 0 : 1;
}

} // namespace tarvane
