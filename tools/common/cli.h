// tools/common/cli.h
// What every Skorvan program's command line shares, on top of CLI11:
// --version, -q, "-" for standard input or output, usage errors that name
// the option and end with status 2, failures that end with status 1, and
// values echoed into messages safely.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

// Adds --version (prints "PROGRAM VERSION") and, when quiet is given, -q/--quiet.
void Cli_AddStandard(CLI::App& app, bool* quiet);

// Parses the command line. Returns -1 when the program should go on, else
// the status to exit with: 0 after --help or --version (1 when that text
// could not be written), 2 after a usage error (printed as "PROGRAM:
// MESSAGE" with a pointer to --help).
int Cli_Parse(CLI::App& app, int argc, char** argv);

// The exit statuses: a job that failed, and a command line that was wrong.
static const int CLI_FAILED = 1;
static const int CLI_USAGE = 2;

// Prints "PROGRAM: MESSAGE" on standard error and returns CLI_FAILED.
int Cli_Fail(const std::string& program, const std::string& message);
// Prints "PROGRAM: MESSAGE" and the pointer to --help on standard error and
// returns CLI_USAGE.
int Cli_UsageFail(const std::string& program, const std::string& message);

// A value from the user's input as a message shows it: in quotes, control
// characters escaped (\n, \t, \x1b), cut after CLI_ECHO_LIMIT characters
// with "..." so a huge field cannot flood the terminal.
static const size_t CLI_ECHO_LIMIT = 80;
std::string Cli_Echo(const std::string& value);

// CLI11 checks of option values through the tools' number reader: a
// number within low..high, a whole number within low..high, and a size
// "WIDTHxHEIGHT" with each side within 1..maxSide.
CLI::Validator Cli_NumberRange(double low, double high);
CLI::Validator Cli_WholeRange(long long low, long long high);
CLI::Validator Cli_SizeCheck(int maxSide);
// Reads "WIDTHxHEIGHT" as Cli_SizeCheck accepts it; why says what is wrong.
bool Cli_ReadSize(const std::string& text, int maxSide, int* width, int* height, std::string* why);

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
