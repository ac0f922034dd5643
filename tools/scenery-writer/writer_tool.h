// tools/scenery-writer/writer_tool.h
// The pieces of skorvan-scenery-writer: its options and the sample files.
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

// Writes the sample files into folder, which exists.
bool Writer_WriteSamples(const std::string& folder, std::string* error);
