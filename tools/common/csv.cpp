// tools/common/csv.cpp
// The tools' CSV reader. It reads a byte at a time from a text or from a
// file in 64 KB chunks, so memory stays at one record whatever the file.
#include "csv.h"

#include "cli.h"

#include <cerrno>
#include <cstring>

namespace {

const size_t CHUNK_BYTES = 65536;

// The next byte without taking it, or -1 at the end (or on a failed read,
// which the reader tells apart by ferror).
int Peek(CsvReader* r) {
    if (r->text)
        return r->at < r->text->size() ? static_cast<unsigned char>((*r->text)[r->at]) : -1;
    if (r->at >= r->chunk.size()) {
        if (r->ended || !r->file)
            return -1;
        r->chunk.resize(CHUNK_BYTES);
        const size_t n = fread(&r->chunk[0], 1, CHUNK_BYTES, r->file);
        r->chunk.resize(n);
        r->at = 0;
        if (n == 0) {
            r->ended = true;
            return -1;
        }
    }
    return static_cast<unsigned char>(r->chunk[r->at]);
}

int Take(CsvReader* r) {
    const int c = Peek(r);
    if (c >= 0) {
        ++r->at;
        if (c == '\n')
            ++r->line;
    }
    return c;
}

// "NAME: " before a message, nothing for a reader without a name.
std::string Prefix(const std::string& name) {
    return name.empty() ? name : name + ": ";
}

bool Blank(int c) {
    return c == ' ' || c == '\t';
}

// Skips a UTF-8 byte-order mark at the very start, as spreadsheets write it.
void SkipByteOrderMark(CsvReader* r) {
    r->started = true;
    static const char MARK[] = "\xEF\xBB\xBF";
    if (r->text) {
        if (r->text->compare(0, 3, MARK) == 0)
            r->at = 3;
        return;
    }
    // The caller's head may end inside the mark: top the chunk up to three.
    while (r->file && r->chunk.size() < 3) {
        char more[3];
        const size_t n = fread(more, 1, 3 - r->chunk.size(), r->file);
        if (n == 0)
            break;
        r->chunk.append(more, n);
    }
    if (r->chunk.compare(0, 3, MARK) == 0)
        r->at = 3;
}

// Skips a comment line: true when the record starting here was one.
bool SkipComment(CsvReader* r) {
    if (!r->comments || Peek(r) != '#')
        return false;
    int taken;
    do
        taken = Take(r);
    while (taken >= 0 && taken != '\n');
    return true;
}

bool Empty(const CsvRecord& record, bool quoted) {
    return record.fields.size() == 1 && !quoted &&
           record.fields[0].find_first_not_of(" \t") == std::string::npos;
}

bool ReadFailed(CsvReader* r, std::string* error) {
    if (r->file && ferror(r->file)) {
        *error = Prefix(r->name) + "read failed: " + strerror(errno);
        return true;
    }
    return false;
}

// One record from where the reader stands; quoted tells whether its last
// field was quoted (a quoted empty field is a record, a blank line is not).
bool ReadRecord(CsvReader* r, CsvRecord* record, bool* quoted, std::string* error) {
    record->line = r->line;
    record->fields.assign(1, std::string());
    *quoted = false; // the current field was quoted: only blanks may follow its closing quote
    for (;;) {
        int c = Take(r);
        if (c < 0 || c == '\n')
            return !ReadFailed(r, error);
        if (c == '\r' && (Peek(r) == '\n' || Peek(r) < 0))
            continue;
        std::string& field = record->fields.back();
        if (c == ',') {
            record->fields.emplace_back();
            *quoted = false;
        } else if (c == '"' && !*quoted && field.find_first_not_of(" \t") == std::string::npos) {
            field.clear(); // blanks before an opening quote are layout
            for (;;) {
                c = Take(r);
                if (c < 0) {
                    if (!ReadFailed(r, error))
                        *error = Prefix(r->name) + "line " + std::to_string(record->line) +
                                 ": a quote is not closed";
                    return false;
                }
                if (c == '"') {
                    if (Peek(r) != '"')
                        break;
                    Take(r); // a doubled quote is one quote
                }
                field += static_cast<char>(c);
            }
            *quoted = true;
        } else if (*quoted) {
            if (!Blank(c)) {
                *error = Prefix(r->name) + "line " + std::to_string(r->line) +
                         ": text after the closing quote of field " +
                         std::to_string(record->fields.size());
                return false;
            }
        } else {
            field += static_cast<char>(c);
        }
    }
}

} // namespace

void Csv_FromText(CsvReader* reader, const std::string& text, const std::string& name) {
    reader->name = name;
    reader->text = &text;
    reader->file = nullptr;
    reader->chunk.clear();
    reader->at = 0;
    reader->line = 1;
    reader->started = reader->ended = false;
    reader->columns.clear();
    reader->headerLine = 0;
}

void Csv_FromFile(CsvReader* reader, FILE* file, const std::string& name, const std::string& head) {
    Csv_FromText(reader, std::string(), name);
    reader->text = nullptr;
    reader->file = file;
    reader->chunk = head;
}

bool Csv_Next(CsvReader* r, CsvRecord* record, std::string* error) {
    error->clear();
    if (!r->started)
        SkipByteOrderMark(r);
    for (;;) {
        if (Peek(r) < 0) {
            ReadFailed(r, error);
            return false;
        }
        if (SkipComment(r))
            continue;
        bool quoted;
        if (!ReadRecord(r, record, &quoted, error))
            return false;
        if (!Empty(*record, quoted))
            return true;
    }
}

bool Csv_ReadHeader(CsvReader* reader, std::string* error) {
    CsvRecord header;
    if (!Csv_Next(reader, &header, error)) {
        if (error->empty())
            *error = Prefix(reader->name) + "the file is empty: no header line";
        return false;
    }
    reader->columns.clear();
    reader->headerLine = header.line;
    for (const std::string& field : header.fields) {
        const size_t first = field.find_first_not_of(" \t");
        const std::string name =
            first == std::string::npos
                ? ""
                : field.substr(first, field.find_last_not_of(" \t") - first + 1);
        if (!name.empty() && Csv_Column(*reader, name) >= 0) {
            *error = Prefix(reader->name) + "line " + std::to_string(header.line) +
                     ": the column " + Cli_Echo(name) + " is named twice";
            return false;
        }
        reader->columns.push_back(name);
    }
    return true;
}

int Csv_Column(const CsvReader& reader, const std::string& name) {
    for (size_t i = 0; i < reader.columns.size(); ++i)
        if (reader.columns[i] == name)
            return static_cast<int>(i);
    return -1;
}

bool Csv_FindColumns(const CsvReader& reader, const std::vector<std::string>& names,
                     std::vector<int>* indexes, std::string* error) {
    indexes->clear();
    for (const std::string& name : names) {
        const int index = Csv_Column(reader, name);
        if (index < 0) {
            *error = Prefix(reader.name) + "line " + std::to_string(reader.headerLine) +
                     ": the header has no column '" + name + "'";
            return false;
        }
        indexes->push_back(index);
    }
    return true;
}

std::string Csv_Where(const CsvReader& reader, const CsvRecord& record) {
    return Prefix(reader.name) + "line " + std::to_string(record.line);
}

std::string Csv_Where(const CsvReader& reader, const CsvRecord& record, int column) {
    const std::string where = Csv_Where(reader, record) + ": ";
    if (column >= 0 && static_cast<size_t>(column) < reader.columns.size() &&
        !reader.columns[static_cast<size_t>(column)].empty())
        return where + reader.columns[static_cast<size_t>(column)];
    return where + "field " + std::to_string(column + 1);
}

const std::string& Csv_Field(const CsvRecord& record, int column) {
    static const std::string NONE;
    return column >= 0 && static_cast<size_t>(column) < record.fields.size()
               ? record.fields[static_cast<size_t>(column)]
               : NONE;
}
