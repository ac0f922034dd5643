// tools/map/csv.cpp
// The CSV files skorvan-map reads: RFC 4180 quoting (skorvan-facilities
// quotes identifiers with commas, quotes or line breaks), rows named by the
// line of the file they start on.
#include "map_tool.h"

static bool SkippedLine(const std::string& text, size_t at) {
    return text[at] == '\n' || text[at] == '#' ||
           (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n');
}

// One record from at; moves at past its line end and counts the lines it spans.
static bool ParseRow(const std::string& text, size_t* at, int* line, CsvRow* row,
                     std::string* error) {
    row->line = *line;
    row->fields.assign(1, "");
    size_t i = *at;
    while (i < text.size() && text[i] != '\n') {
        const char c = text[i++];
        if (c == ',') {
            row->fields.emplace_back();
        } else if (c == '"' && row->fields.back().empty()) {
            for (;; ++i) {
                if (i >= text.size())
                    return *error = "line " + std::to_string(row->line) + ": a quote is not closed",
                           false;
                if (text[i] == '"' && (i + 1 >= text.size() || text[i + 1] != '"'))
                    break;
                if (text[i] == '"')
                    ++i; // a doubled quote is one quote
                if (text[i] == '\n')
                    ++*line;
                row->fields.back() += text[i];
            }
            ++i;
        } else if (c != '\r' || (i < text.size() && text[i] != '\n')) {
            row->fields.back() += c;
        }
    }
    *at = i + 1;
    ++*line;
    return true;
}

bool Csv_Parse(const std::string& text, std::vector<CsvRow>* rows, std::string* error) {
    size_t at = 0;
    int line = 1;
    while (at < text.size()) {
        if (SkippedLine(text, at)) {
            const size_t end = text.find('\n', at);
            at = end == std::string::npos ? text.size() : end + 1;
            ++line;
            continue;
        }
        rows->emplace_back();
        if (!ParseRow(text, &at, &line, &rows->back(), error))
            return false;
    }
    return true;
}

bool Csv_ReadTable(const std::string& path, const std::string& header, std::vector<CsvRow>* rows,
                   std::string* error) {
    std::string text;
    if (!Cli_ReadAll(path, &text, error))
        return *error = "cannot read " + *error, false;
    if (!Csv_Parse(text, rows, error))
        return *error = path + ": " + *error, false;
    std::vector<std::string> names;
    for (size_t from = 0, comma;; from = comma + 1) {
        comma = header.find(',', from);
        names.push_back(header.substr(from, comma - from));
        if (comma == std::string::npos)
            break;
    }
    if (rows->empty() || rows->front().fields != names)
        return *error = path + ": line " + std::to_string(rows->empty() ? 1 : rows->front().line) +
                        " must be the header " + header,
               false;
    rows->erase(rows->begin());
    for (const CsvRow& row : *rows)
        if (row.fields.size() != names.size())
            return *error = path + ": line " + std::to_string(row.line) + " has " +
                            std::to_string(row.fields.size()) + " fields, not " +
                            std::to_string(names.size()),
                   false;
    return true;
}
