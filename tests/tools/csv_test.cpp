// tests/tools/csv_test.cpp
// The tools' one CSV reader, from text and from a file: quoting, the
// byte-order mark, blank lines, the header and where its messages point.
#include "csv.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Every record of text, or the error that stopped the reading.
Rows ReadAll(const std::string& text, std::string* error, std::vector<int>* lines = nullptr,
             bool comments = false) {
    CsvReader reader;
    Csv_FromText(&reader, text, "f.csv");
    reader.comments = comments;
    CsvRecord record;
    Rows rows;
    while (Csv_Next(&reader, &record, error)) {
        rows.push_back(record.fields);
        if (lines)
            lines->push_back(record.line);
    }
    return rows;
}

TEST(Csv, QuotedFieldsDoubledQuotesAndLineBreaks) {
    std::string error;
    std::vector<int> lines;
    const Rows rows = ReadAll("\"a,b\",\"say \"\"hi\"\"\",plain\r\n\"two\nlines\",,\"\"\nlast,x,y",
                              &error, &lines);
    EXPECT_EQ(error, "");
    EXPECT_EQ(rows,
              (Rows{{"a,b", "say \"hi\"", "plain"}, {"two\nlines", "", ""}, {"last", "x", "y"}}));
    EXPECT_EQ(lines, (std::vector<int>{1, 2, 4}));
}

TEST(Csv, CrLfEndsARecordButALoneCrIsData) {
    std::string error;
    EXPECT_EQ(ReadAll("a,b\r\nc,d\r\n", &error), (Rows{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(ReadAll("a\rb,c\n", &error), (Rows{{"a\rb", "c"}}));
}

TEST(Csv, TrailingEmptyFieldIsKept) {
    std::string error;
    EXPECT_EQ(ReadAll("a,b,\n,\n", &error), (Rows{{"a", "b", ""}, {"", ""}}));
}

TEST(Csv, ByteOrderMarkSkippedOnlyAtTheStart) {
    std::string error;
    EXPECT_EQ(ReadAll("\xEF\xBB\xBFt_s,x\n1,2\n", &error), (Rows{{"t_s", "x"}, {"1", "2"}}));
    EXPECT_EQ(ReadAll("a\n\xEF\xBB\xBF"
                      "b\n",
                      &error),
              (Rows{{"a"},
                    {"\xEF\xBB\xBF"
                     "b"}}));
}

TEST(Csv, BlankLinesSkippedButAQuotedEmptyFieldIsARecord) {
    std::string error;
    std::vector<int> lines;
    EXPECT_EQ(ReadAll("a\n\n   \n\t \r\nb\n\"\"\n", &error, &lines), (Rows{{"a"}, {"b"}, {""}}));
    EXPECT_EQ(lines, (std::vector<int>{1, 5, 6}));
}

TEST(Csv, CommentLinesOnlyWhenAsked) {
    std::string error;
    EXPECT_EQ(ReadAll("# a \"note\nx\n", &error, nullptr, true), (Rows{{"x"}}));
    EXPECT_EQ(ReadAll("#c\nx\n", &error), (Rows{{"#c"}, {"x"}}));
}

TEST(Csv, UnclosedQuoteNamesFileAndLine) {
    std::string error;
    ReadAll("a\nb\n\"open,\nmore\n", &error);
    EXPECT_EQ(error, "f.csv: line 3: a quote is not closed");
}

TEST(Csv, TextAfterAClosingQuoteIsRefused) {
    std::string error;
    ReadAll("\"a\"b,c\n", &error);
    EXPECT_EQ(error, "f.csv: line 1: text after the closing quote of field 1");
    EXPECT_EQ(ReadAll(" \"a\" ,b\n", &error), (Rows{{"a", "b"}}));
    EXPECT_EQ(error, "");
}

TEST(CsvHeader, ColumnsFoundInAnyOrderWithBlanksAround) {
    const std::string text = "\n \"lat\" , t_s ,lon\n1,2,3\n";
    CsvReader reader;
    Csv_FromText(&reader, text, "f.csv");
    std::string error;
    ASSERT_TRUE(Csv_ReadHeader(&reader, &error)) << error;
    std::vector<int> indexes;
    ASSERT_TRUE(Csv_FindColumns(reader, {"t_s", "lon", "lat"}, &indexes, &error));
    EXPECT_EQ(indexes, (std::vector<int>{1, 2, 0}));
    EXPECT_FALSE(Csv_FindColumns(reader, {"t_s", "alt"}, &indexes, &error));
    EXPECT_EQ(error, "f.csv: line 2: the header has no column 'alt'");
    CsvRecord record;
    ASSERT_TRUE(Csv_Next(&reader, &record, &error));
    EXPECT_EQ(Csv_Where(reader, record, 2), "f.csv: line 3: lon");
    EXPECT_EQ(Csv_Where(reader, record, 7), "f.csv: line 3: field 8");
    EXPECT_EQ(Csv_Field(record, 7), "");
    reader.name = "";
    EXPECT_EQ(Csv_Where(reader, record, 0), "line 3: lat");
}

// Headers the reader refuses, each with the message that names why.
TEST(CsvHeader, RefusedHeaders) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"t_s,lat,\"t_s\"\n1,2,3\n", "f.csv: line 1: the column 't_s' is named twice"},
        {"\xEF\xBB\xBF\n  \n", "f.csv: the file is empty: no header line"},
    };
    for (const auto& c : cases) {
        const std::string text = c.text; // the reader keeps a pointer to it
        CsvReader reader;
        Csv_FromText(&reader, text, "f.csv");
        std::string error;
        EXPECT_FALSE(Csv_ReadHeader(&reader, &error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

// Records that cross the reader's 64 KB chunks read the same from a file.
TEST(CsvFile, ReadsLikeTheTextAcrossChunks) {
    std::string text = "\xEF\xBB\xBFname,value\r\n";
    for (int i = 0; i < 20000; ++i)
        text += "\"n" + std::to_string(i) + ",\"\"q\"\"\",  " + std::to_string(i) + "\r\n\n";
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(fwrite(text.data(), 1, text.size(), file), text.size());
    rewind(file);
    CsvReader fromFile, fromText;
    Csv_FromFile(&fromFile, file, "f.csv");
    Csv_FromText(&fromText, text, "f.csv");
    CsvRecord a, b;
    std::string errorA, errorB;
    int records = 0;
    for (;;) {
        const bool gotA = Csv_Next(&fromFile, &a, &errorA), gotB = Csv_Next(&fromText, &b, &errorB);
        ASSERT_EQ(gotA, gotB) << "record " << records;
        if (!gotA)
            break;
        ASSERT_EQ(a.fields, b.fields) << "record " << records;
        ASSERT_EQ(a.line, b.line) << "record " << records;
        ++records;
    }
    fclose(file);
    EXPECT_EQ(errorA, "");
    EXPECT_EQ(records, 20001);
}

} // namespace
