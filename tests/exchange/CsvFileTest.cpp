// The CSV reader and writer: the shapes spreadsheets and other programs write,
// and the damaged files that must be refused with the line where they break.
#include <gtest/gtest.h>

#include "RandomImages.h"
#include "exchange/CsvFile.h"

namespace tarvane {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows FieldsOf(const CsvTable& t) {
    Rows out;
    for (const CsvRecord& r : t.Records)
        out.push_back(r.Fields);
    return out;
}

struct ReadCase {
    const char* name;
    std::string text;
    Rows fields;
    std::vector<int> lines;
};

TEST(CsvRead, ShapesOfRealFiles) {
    const ReadCase cases[] = {
        {"LF", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"CRLF, no final line end", "a,b\r\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"lone CR", "a,b\r1,2\r", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"byte-order mark", "\xEF\xBB\xBFLocation,Frequency\n", {{"Location", "Frequency"}}, {1}},
        {"quoted comma and quote", "\"a, b\",\"say \"\"hi\"\"\"\n", {{"a, b", "say \"hi\""}}, {1}},
        {"line break inside quotes counts lines", "\"x\ny\",1\nz,2\n", {{"x\ny", "1"}, {"z", "2"}}, {1, 3}},
        {"empty fields and trailing comma", ",,\nq,\n", {{"", "", ""}, {"q", ""}}, {1, 2}},
        {"empty line is a record of one empty field", "a\n\nb\n", {{"a"}, {""}, {"b"}}, {1, 2, 3}},
        {"quote inside an unquoted field stays", "ab\"c,d\n", {{"ab\"c", "d"}}, {1}},
        {"UTF-8 text", "名前,27.5\n", {{"名前", "27.5"}}, {1}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CsvTable t = ReadCsv(c.text);
        ASSERT_TRUE(t.Ok());
        EXPECT_EQ(FieldsOf(t), c.fields);
        std::vector<int> lines;
        for (const CsvRecord& r : t.Records)
            lines.push_back(r.Line);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(CsvRead, DamagedFilesAreRefusedWithTheirLine) {
    struct Case {
        const char* name;
        std::string text;
        CsvError error;
        int line;
    } cases[] = {
        {"quote never closed", "a,b\n1,\"2\n3\n", CsvError::OpenQuote, 2},
        {"text after a closing quote", "a\n\"b\"c,d\n", CsvError::AfterQuote, 2},
        {"NUL byte", std::string("a,b\nc,\0d\n", 9), CsvError::Binary, 2},
        {"Latin-1 byte", "a\nb\nGr\xFC\xDF\n", CsvError::NotUtf8, 3},
        {"overlong UTF-8", "\xC0\xAF\n", CsvError::NotUtf8, 1},
        {"UTF-16 surrogate", "ok\n\xED\xA0\x80\n", CsvError::NotUtf8, 2},
        {"cut multi-byte sequence at the end", "a\n\xE5\x90", CsvError::NotUtf8, 2},
        {"too many fields", std::string(kCsvMaxFields + 5, ','), CsvError::TooManyFields, 1},
        {"one too many, the last after a closing comma", std::string(kCsvMaxFields, ','),
         CsvError::TooManyFields, 1},
        {"field too long", "a\n" + std::string(kCsvMaxFieldBytes + 1, 'x'), CsvError::FieldTooLong, 2},
        {"quoted field too long", "\"" + std::string(kCsvMaxFieldBytes + 1, 'x') + "\"",
         CsvError::FieldTooLong, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CsvTable t = ReadCsv(c.text);
        EXPECT_EQ(t.Error, c.error);
        EXPECT_EQ(t.ErrorLine, c.line);
        EXPECT_TRUE(t.Records.empty()); // nothing half-read is handed on
    }
    EXPECT_EQ(ReadCsv(std::string(kCsvMaxBytes + 1, 'a')).Error, CsvError::TooLarge);
}

// Whatever the fields hold, writing them and reading them back gives them again.
TEST(CsvWrite, WrittenRecordsReadBackExactly) {
    test::Dice d(7);
    const std::string alphabet[] = {"a", "1", ",",           "\"", "\r\n", "\n", " ", "\xE4\xB8\xAD",
                                    "=", "-", "\xEF\xBB\xBF"};
    for (int round = 0; round < 300; ++round) {
        Rows rows(static_cast<size_t>(d.In(1, 5)));
        std::string text;
        for (auto& row : rows) {
            row.resize(static_cast<size_t>(d.In(1, 6)));
            for (auto& f : row)
                for (int k = d.In(0, 6); k > 0; --k)
                    f += alphabet[d.In(0, 10)];
            // A record of one empty field is an empty line, which is what it is written as.
            text += CsvLine(row);
        }
        const CsvTable t = ReadCsv(text);
        ASSERT_TRUE(t.Ok()) << text;
        EXPECT_EQ(FieldsOf(t), rows) << text;
    }
    EXPECT_EQ(CsvLine({"a", "b,c", " x", ""}), "a,\"b,c\",\" x\",\r\n");
    // A field starting with U+FEFF at the start of a file must not read back as a byte-order mark.
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(FieldsOf(ReadCsv(CsvLine({bom + "x"}))), Rows{{bom + "x"}});
}

} // namespace
} // namespace tarvane
