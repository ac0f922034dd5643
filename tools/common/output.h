// tools/common/output.h
// Outputs that never lose a user's file. Each output is written to a
// temporary file in the folder of its target and renamed over the target
// only once the whole job has succeeded; a failed job leaves every old file
// as it was. An output given as a symbolic link is written beside the
// link's target, so the link stays. Devices and pipes (/dev/null, a FIFO)
// are written in place, and "-" is standard output.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct OutputFile {
    std::string path;   // as the user named it (messages use it)
    std::string target; // the file the rename replaces (the link's target for a link)
    std::string temp;   // the temporary file, "" when writing in place
    FILE* file = nullptr;

    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile(); // discards what was not committed
};

// Refuses, before anything is read or written, an output that names one of
// the inputs or an output named twice, comparing the files themselves
// (device and inode, so "./a" and "a" and a link to a are one). "-" and
// empty names are left out; so are inputs and outputs that are devices or
// pipes. names[i] is how the message calls outputs[i] ("--csv").
bool Output_CheckNames(const std::vector<std::string>& inputs,
                       const std::vector<std::string>& outputs,
                       const std::vector<std::string>& names, std::string* error);

// Opens an output: its temporary file (or the device, or standard output).
// On failure returns false with "cannot write PATH: REASON".
bool Output_Open(OutputFile* out, const std::string& path, bool binary, std::string* error);
// Writes the whole of text; false with the reason when the write failed.
bool Output_Write(OutputFile* out, const std::string& text, std::string* error);
// Closes the output and renames its temporary file over the target; false
// with the reason (and the temporary file removed) when any write failed.
bool Output_Commit(OutputFile* out, std::string* error);
// Closes the output and removes its temporary file; the target is untouched.
void Output_Discard(OutputFile* out);

// ---- Platform calls (output_posix.cpp, output_win32.cpp) ------------------------

// What identifies a file: its device and inode when it exists, else the
// folder's and the name within it, so two names of one new file match.
struct OutputFileId {
    bool exists = false, regular = false;
    unsigned long long device = 0, inode = 0;
    std::string name; // the last part of the path, for a file that does not exist yet
    bool operator==(const OutputFileId& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && name == o.name;
    }
};
// False when neither the file nor its folder can be found.
bool OutputPlatform_Identify(const std::string& path, OutputFileId* id);
// The file a path leads to through symbolic links (the path itself when it
// is none), even when the last link's target does not exist yet.
std::string OutputPlatform_Resolve(const std::string& path);
// Creates a new temporary file in the folder of target and opens it.
FILE* OutputPlatform_CreateTemp(const std::string& target, bool binary, std::string* tempPath,
                                std::string* error);
// Replaces target by temp; on failure sets the reason.
bool OutputPlatform_Replace(const std::string& temp, const std::string& target, std::string* error);
