// tools/scenery-writer/writer_tool.h
// The pieces of skorvan-scenery-writer: its options, the sample files and
// the run of the whole program after its command line.
#pragma once

#include "cli.h"
#include "scenery_writer.h"

#include <string>

struct WriterOptions {
    std::string root, seed;
    bool small = false, samples = false, quiet = false;
    unsigned seedValue = 1; // derived from seed
};

void WriterOptions_Add(CLI::App& app, WriterOptions* options);
bool WriterOptions_Check(WriterOptions* options, std::string* error);

// Writes the sample files into folder, made first with its parents when
// missing; false with "PATH: reason" in error.
bool Writer_WriteSamples(const std::string& folder, std::string* error);

// What the program does once its options are checked: the samples or the
// tree below options.root. Returns the exit status (0 written, 1 refused or
// failed, with a message in error).
int Writer_Run(const WriterOptions& options, std::string* error);
