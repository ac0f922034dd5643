// tools/facilities/facilities_tool.h
// The pieces of skorvan-facilities: its options, the reading of a scenery
// root, one file or standard input, and the three output formats written
// through one buffer.
#pragma once

#include "cli.h"
#include "facilities.h"

#include <string>

struct FacilitiesOptions {
    std::string input, format = "json", near, out = "-";
    bool quiet = false;
    // Derived by FacilitiesOptions_Check.
    bool hasNear = false;
    double nearLat = 0, nearLon = 0;
};

void FacilitiesOptions_Add(CLI::App& app, FacilitiesOptions* options);
bool FacilitiesOptions_Check(FacilitiesOptions* options, std::string* error);

// What a read gave: the records, whether one file was asked for, and how
// many files were found damaged (each already named on standard error).
struct FacilitiesInput {
    FacilityDatabase db = {};
    bool singleFile = false;
    int damagedFiles = 0;
};
// False with a message when the input does not exist or is no simulator folder.
bool FacilitiesInput_Read(const FacilitiesOptions& options, FacilitiesInput* input,
                          std::string* error);

// The output, built in one buffer and written in large pieces: a run over
// a whole scenery tree prints some twenty megabytes.
struct FacilitiesOut {
    FILE* file = nullptr;
    std::string buffer;
    bool failed = false;
};
void Out_Flush(FacilitiesOut* out);
void Out_Text(FacilitiesOut* out, const char* text);
void Out_Text(FacilitiesOut* out, const std::string& text);
// Numbers in their shortest form that reads back to the same value (47
// rather than 47.000000000000001), a float as a float.
void Out_Number(FacilitiesOut* out, double value);
void Out_Number(FacilitiesOut* out, float value);
void Out_Number(FacilitiesOut* out, int32_t value);
// A JSON string: quotes, backslashes and control bytes escaped, other bytes
// above 127 as \u00XX (the files are single-byte text).
void Out_Json(FacilitiesOut* out, const char* text);
// A CSV field, quoted when it holds a comma, a quote or a line break.
void Out_Csv(FacilitiesOut* out, const char* text);

void Facilities_PrintJson(FacilitiesOut* out, const ObjectList* list);
void Facilities_PrintCsv(FacilitiesOut* out, const ObjectList* list);
void Facilities_PrintGeoJson(FacilitiesOut* out, const ObjectList* list);
