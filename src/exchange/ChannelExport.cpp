#include "exchange/ChannelExport.h"

#include "exchange/ChannelColumns.h"
#include "exchange/CsvFile.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "state/Program.h"

namespace tarvane {

std::string ExportChannels(const Program& p, int group, int* rows) {
    const int band = p.Model.ModelType;
    std::vector<std::string> header;
    for (const ColumnDef& c : ChannelColumns())
        header.emplace_back(c.Name);
    std::string out = CsvLine(header);
    int count = 0;
    for (int g = 0; g <= 12; ++g) {
        if ((group >= 0 && g != group) || GroupSize(g, band) == 0) continue;
        for (int ch = 1; ch <= GroupSize(g, band); ++ch) {
            const int index = FindChannelSlot(p.Image, GroupBase(g, band) + ch);
            if (index < 0) continue;
            ChannelValues v = ValuesOfRecord(p.Image.Channels[static_cast<size_t>(index)], g, ch, band);
            if (!v.FreqHz) continue; // a slot without a frequency is no channel to exchange
            v.Location = std::to_string(++count);
            std::vector<std::string> cells;
            for (const ColumnDef& c : ChannelColumns())
                cells.push_back(c.Write(v));
            out += CsvLine(cells);
        }
    }
    if (rows) *rows = count;
    return out;
}

} // namespace tarvane
