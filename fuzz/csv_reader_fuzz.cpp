// fuzz/csv_reader_fuzz.cpp
// libFuzzer target: any bytes through the tools' CSV reader, from the text
// and from a file in chunks: both give the same records, or the same
// error.
#include "csv.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file || size == 0) {
        if (file)
            fclose(file);
        return 0;
    }
    const size_t headBytes = size / 2;
    fseek(file, static_cast<long>(headBytes), SEEK_SET);
    CsvReader fromText, fromFile;
    Csv_FromText(&fromText, text, "t");
    Csv_FromFile(&fromFile, file, "t", text.substr(0, headBytes));
    fromText.comments = fromFile.comments = size % 2 == 1;
    CsvRecord a, b;
    std::string errorA, errorB;
    for (int records = 0;; ++records) {
        const bool gotA = Csv_Next(&fromText, &a, &errorA);
        const bool gotB = Csv_Next(&fromFile, &b, &errorB);
        if (gotA != gotB || (gotA && (a.fields != b.fields || a.line != b.line)) ||
            errorA != errorB || static_cast<size_t>(records) > size)
            __builtin_trap();
        if (!gotA)
            break;
    }
    fclose(file);
    return 0;
}
