// tools/common/cli.h
// What every Skorvan program's command line shares, on top of CLI11:
// --version, -q, "-" for standard input or output, and usage errors that
// name the option and end with status 2.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

// Adds --version (prints "PROGRAM VERSION") and, when quiet is given, -q/--quiet.
void Cli_AddStandard(CLI::App& app, bool* quiet);

// Parses the command line. Returns -1 when the program should go on, else
// the status to exit with: 0 after --help or --version, 2 after a usage
// error (printed as "PROGRAM: MESSAGE" with a pointer to --help).
int Cli_Parse(CLI::App& app, int argc, char** argv);

// Opens a file named on the command line; "-" is standard input or output.
// On failure returns null and puts "PATH: REASON" into error.
FILE* Cli_OpenRead(const std::string& path, bool binary, std::string* error);
FILE* Cli_OpenWrite(const std::string& path, bool binary, std::string* error);

// Flushes and closes what Cli_Open* returned (standard output is flushed,
// not closed). Returns false when any write to it failed, so a full disk
// or a closed pipe is a failure and not a short file.
bool Cli_Close(FILE* file, const std::string& path, std::string* error);

// The status to exit with once a program is done: status, or 1 (with a
// message) when anything written to standard output was lost, as on a
// full disk or a closed pipe.
int Cli_Finish(CLI::App& app, int status);

// Reads a whole file ("-" is standard input). False with error set on failure.
bool Cli_ReadAll(const std::string& path, std::string* text, std::string* error);

// True when progress lines may be written to standard error: not quiet and
// standard error is a terminal (progress never goes into a log or a pipe).
bool Cli_ShowProgress(bool quiet);
