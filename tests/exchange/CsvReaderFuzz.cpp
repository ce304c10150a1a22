// Fuzz target for the CSV reader and the channel import over it: any bytes,
// mangled channel lists, huge and deep inputs. Nothing may crash, the reader must
// keep its bounds, and an import must never change the document it was given.
//
/* With libFuzzer (clang): `scripts/fuzz.sh [SECONDS]` builds this file twice,
   as csv_reader_fuzz (the reader: any bytes) and csv_import_fuzz (the first
   byte picks band, group and first channel, the rest is the CSV text imported).

   Without clang the same checks run as a random-input driver under the
   build's sanitizers (target csv_reader_fuzz; ctest runs a short round):

     <build>/tests/exchange/csv_reader_fuzz [iterations] [seed]
*/
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "exchange/ChannelImport.h"
#include "exchange/CsvFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "state/Program.h"
#include "state/lang/LangText.h"

namespace {

using namespace tarvane;

void Fail(const char* what) {
    std::fprintf(stderr, "csv reader fuzz: %s\n", what);
    std::abort();
}

[[maybe_unused]] void CheckReader(const std::string& text) {
    const CsvTable t = ReadCsv(text);
    if (!t.Ok()) {
        if (!t.Records.empty()) Fail("records handed on after an error");
        if (t.Error != CsvError::TooLarge && t.ErrorLine < 1) Fail("error without a line");
        return;
    }
    int lastLine = 0;
    size_t bytes = 0;
    for (const CsvRecord& r : t.Records) {
        if (r.Line <= lastLine) Fail("record lines do not grow");
        lastLine = r.Line;
        if (r.Fields.empty() || r.Fields.size() > kCsvMaxFields) Fail("field count out of bounds");
        for (const std::string& f : r.Fields) {
            if (f.size() > kCsvMaxFieldBytes) Fail("field longer than the bound");
            bytes += f.size();
        }
    }
    if (bytes > text.size()) Fail("more field bytes than input");
    // What the writer makes of the records reads back the same.
    std::string again;
    for (const CsvRecord& r : t.Records)
        again += CsvLine(r.Fields);
    const CsvTable u = ReadCsv(again);
    if (!u.Ok() || u.Records.size() != t.Records.size()) Fail("written records do not read back");
    for (size_t i = 0; i < u.Records.size(); ++i)
        if (u.Records[i].Fields != t.Records[i].Fields) Fail("written fields differ");
}

// One document per band, made once: the import must leave it as it was.
Program& ProgramOfBand(int band) {
    static Program programs[3];
    static bool made = false;
    if (!made) {
        for (int b = 0; b < 3; ++b) {
            Program& p = programs[b];
            p.Prompts.message = [](const std::string&, MsgIcon, MsgButtons answer, const std::string&) {
                return DefaultAnswer(answer);
            };
            SetModelType(p, b);
            InitBuiltInImage(p);
        }
        made = true;
    }
    return programs[band];
}

long outcomes[3] = {0, 0, 0};

[[maybe_unused]] void CheckImport(int band, const std::string& text, const ImportOptions& options) {
    Program& p = ProgramOfBand(band);
    const RadioImage before = p.Image;
    const ImportResult r = ImportChannels(p, text, options);
    if (!(p.Image == before)) Fail("the import changed the document it was given");
    if (!r.FileError.empty() && !(r.Image == before)) Fail("a refused file changed the result");
    for (const ImportRow& row : r.Rows) {
        (void)ImportRowText(p, row);
        ++outcomes[static_cast<int>(row.Outcome)];
    }
}

} // namespace

#ifdef TARVANE_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
#ifdef TARVANE_FUZZ_IMPORT
    if (size == 0) return 0;
    ImportOptions options;
    options.Group = data[0] % 14 - 1;
    options.First = (data[0] >> 4) * 6 - 5;
    CheckImport(data[0] % 3, std::string(reinterpret_cast<const char*>(data + 1), size - 1), options);
#else
    CheckReader(std::string(reinterpret_cast<const char*>(data), size));
#endif
    return 0;
}
#else
namespace {

// Pieces a channel list is made of, to build inputs near the real thing.
const char* const kPieces[] = {"Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                               "DtcsPolarity,RxDtcsCode,CrossMode,Mode,"
                               "TStep,Skip,Power,Comment,Group,GroupChannel,RogerBeep,DtmfBot,CommonData\r\n",
                               "Frequency,Mode,Group,GroupChannel\n",
                               "29.600000",
                               "27.601250",
                               "-1e308",
                               "nan",
                               "1e400",
                               "0x1A",
                               ",",
                               ",,",
                               "\"",
                               "\"\"",
                               "\r\n",
                               "\n",
                               "\r",
                               "\xEF\xBB\xBF",
                               "TSQL",
                               "Cross",
                               "DTCS->DTCS",
                               "->",
                               "754",
                               "NR",
                               "NFM",
                               "AM",
                               "High",
                               "S",
                               "P",
                               "split",
                               "=1+1",
                               "@A",
                               "-",
                               "+",
                               "MEM",
                               "UK",
                               "EMG",
                               "A",
                               "VFO",
                               "0",
                               "99999",
                               "-5",
                               "On",
                               "\xE4\xB8\xAD",
                               "\xFF",
                               "88.5",
                               "023",
                               "%1",
                               "%2"};

// Rows of plausible cells, column by column, with now and then a stray piece.
const std::vector<std::vector<std::string>> kColumnValues = {
    {"Frequency"},    {"29.600000", "28.0123", "27.065", "27.601250", "25.61", "26.965", "31", "-1", "x"},
    {"Duplex"},       {"", "+", "-", "split"},
    {"Offset"},       {"0.100000", "0.6", "0", "1.5", "0.123"},
    {"Tone"},         {"", "Tone", "TSQL", "DTCS", "Cross", "DTCS-R"},
    {"rToneFreq"},    {"88.5", "100.0", "69.3", "250.3"},
    {"cToneFreq"},    {"88.5", "67", "123.0"},
    {"DtcsCode"},     {"023", "754", "017"},
    {"RxDtcsCode"},   {"023", "131"},
    {"CrossMode"},    {"Tone->Tone", "->DTCS", "DTCS->", "x->y"},
    {"Mode"},         {"FM", "NFM", "AM", "USB", ""},
    {"Skip"},         {"", "S", "P"},
    {"Power"},        {"High", "Low", "Medium", "5W", ""},
    {"Group"},        {"", "A", "B", "VFO", "MEM", "EMG", "D", "UK", "ZZ"},
    {"GroupChannel"}, {"", "1", "2", "40", "80", "0"},
    {"RogerBeep"},    {"0", "3", "9", ""},
};

std::string RowInput(std::mt19937& rng) {
    std::uniform_int_distribution<int> rows(1, 30), odd(0, 40),
        piece(0, static_cast<int>(std::size(kPieces)) - 1);
    std::string s;
    for (size_t c = 0; c < kColumnValues.size(); c += 2)
        s += (c ? "," : "") + kColumnValues[c][0];
    s += "\r\n";
    for (int r = rows(rng); r > 0; --r) {
        for (size_t c = 1; c < kColumnValues.size(); c += 2) {
            const auto& pool = kColumnValues[c];
            if (c > 1) s += ',';
            s += odd(rng) == 0 ? kPieces[piece(rng)] : pool[rng() % pool.size()];
        }
        s += "\r\n";
    }
    return s;
}

std::string RandomInput(std::mt19937& rng) {
    std::uniform_int_distribution<int> kind(0, 9), piece(0, static_cast<int>(std::size(kPieces)) - 1),
        byte(0, 255), count(0, 60);
    if (kind(rng) < 5) return RowInput(rng);
    std::string s;
    if (kind(rng) == 0) { // plain random bytes
        for (int n = count(rng) * 8; n > 0; --n)
            s += static_cast<char>(byte(rng));
        return s;
    }
    s = kPieces[kind(rng) < 5 ? 0 : 1];
    for (int n = count(rng) * 3; n > 0; --n) {
        if (kind(rng) == 0)
            s += static_cast<char>(byte(rng));
        else
            s += kPieces[piece(rng)];
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    const long iterations = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1;
    std::mt19937 rng(seed);
    // The bounds themselves.
    CheckReader(std::string(kCsvMaxFieldBytes + 1, 'x'));
    CheckReader(std::string(kCsvMaxFields + 1, ','));
    CheckReader(std::string(kCsvMaxBytes + 1, '\n'));
    for (long i = 0; i < iterations; ++i) {
        const std::string text = RandomInput(rng);
        CheckReader(text);
        ImportOptions options;
        options.Group = static_cast<int>(rng() % 14) - 1;
        options.First = static_cast<int>(rng() % 90) - 5;
        CheckImport(static_cast<int>(i % 3), text, options);
    }
    std::printf(
        "csv reader fuzz: %ld inputs, seed %u: no fault (rows taken %ld, adjusted %ld, refused %ld)\n",
        iterations, seed, outcomes[0], outcomes[1], outcomes[2]);
    return 0;
}
#endif
