// tools/common/csv.h
// The one CSV reader of the tools: RFC 4180 quoting (quoted fields, doubled
// quotes, line breaks inside quotes, CRLF), a UTF-8 byte-order mark
// skipped, blank lines (empty or blanks only) skipped, a header whose
// columns are named once each. It reads a record at a time, from a text in
// memory or from a file, so a large file never has to be held whole.
// Messages name the file, the line a record starts on and the column.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct CsvRecord {
    int line = 0; // the line of the file the record starts on, from 1
    std::vector<std::string> fields;
};

struct CsvReader {
    std::string name;                 // the file as messages name it, or ""
    bool comments = false;            // lines starting with '#' are skipped too
    std::vector<std::string> columns; // the header, once read
    int headerLine = 0;               // the line it was on
    // Where the reader stands; set by Csv_FromText or Csv_FromFile.
    const std::string* text = nullptr; // read from this text...
    FILE* file = nullptr;              // ...or from this file
    std::string chunk;                 // what was last read from the file
    size_t at = 0;                     // the next byte in text or chunk
    int line = 1;                      // the line of that byte
    bool started = false, ended = false;
};

// Starts reading text (which must outlive the reader), or an open file
// (which the caller closes), named name in messages. head is what the
// caller already read from the file (to tell its kind), read first.
void Csv_FromText(CsvReader* reader, const std::string& text, const std::string& name);
void Csv_FromFile(CsvReader* reader, FILE* file, const std::string& name,
                  const std::string& head = "");

// The next record: true with it, false at the end (error empty) or on a
// damaged record (error set, "NAME: line 4: a quote is not closed").
bool Csv_Next(CsvReader* reader, CsvRecord* record, std::string* error);

// Reads the first record as the header into reader->columns (each name
// without its surrounding blanks). Refuses a file without one and a
// column named twice.
bool Csv_ReadHeader(CsvReader* reader, std::string* error);
// The index of the named column, or -1.
int Csv_Column(const CsvReader& reader, const std::string& name);
// The indexes of the named columns, in that order; false when one is
// missing ("NAME: line 1: the header has no column 't_s'").
bool Csv_FindColumns(const CsvReader& reader, const std::vector<std::string>& names,
                     std::vector<int>* indexes, std::string* error);

// "NAME: line 4" and "NAME: line 4: lat_deg" ("field 8" for a column
// without a name): where a message about a record or one of its fields
// points, to be followed by what is wrong ("... is 95, outside -90 to 90").
// Every message leaves out "NAME: " when the reader has no name.
std::string Csv_Where(const CsvReader& reader, const CsvRecord& record);
std::string Csv_Where(const CsvReader& reader, const CsvRecord& record, int column);
// The field of a record in a column, "" when the record is short.
const std::string& Csv_Field(const CsvRecord& record, int column);
