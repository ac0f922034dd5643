// tools/facilities/facilities_tool.h
// The pieces of skorvan-facilities: its options, the reading of a scenery
// root, one file or standard input, and the three output formats written
// through one buffer.
#pragma once

#include "cli.h"
#include "facilities.h"
#include "output.h"

#include <string>

struct FacilitiesOptions {
    std::string input, format = "json", near, out = "-";
    bool quiet = false;
    // Derived by FacilitiesOptions_Check.
    bool hasNear = false;
    double nearLat = 0, nearLon = 0;
};

void FacilitiesOptions_Add(CLI::App& app, FacilitiesOptions* options);
// The rules CLI11 cannot state, and --out naming the input: false with a
// usage message, before anything is read or written.
bool FacilitiesOptions_Check(FacilitiesOptions* options, std::string* error);

// What a read gave: the records, whether one file was asked for, and how
// many files were found damaged or could not be read (each already named
// on standard error).
struct FacilitiesInput {
    FacilityDatabase db = {};
    bool singleFile = false;
    int damagedFiles = 0;
};
// False with a message when the input does not exist, cannot be read (the
// reason given) or is no simulator folder. One file, a pipe or standard
// input is read whole into memory first; a folder is walked by the library.
bool FacilitiesInput_Read(const FacilitiesOptions& options, FacilitiesInput* input,
                          std::string* error);
// Reads bytes as one scenery file named name; a damaged or empty one is
// named on standard error and counted in input->damagedFiles.
void FacilitiesInput_ReadBytes(const std::string& bytes, const std::string& name,
                               FacilitiesInput* input);
// The line standard error shows for a damaged or unreadable file.
std::string Facilities_DamageText(const char* path, const FacilityReadReport* report);

// The whole program after its command line: reads, writes through a safe
// output (an old file stays as it was when anything fails) and returns the
// exit status, with the message of a failure in error.
int Facilities_Run(const FacilitiesOptions& options, std::string* error);

// The output, built in one buffer and written in large pieces: a run over
// a whole scenery tree prints some twenty megabytes. Without a file the
// whole text stays in buffer.
struct FacilitiesOut {
    OutputFile* file = nullptr;
    std::string buffer;
    std::string error; // the first write failure
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
