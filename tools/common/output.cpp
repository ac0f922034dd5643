// tools/common/output.cpp
// Safe outputs: names checked against each other first, then each written
// to a temporary file that replaces the target only when all went well.
#include "output.h"

#include "cli.h"

#include <cerrno>
#include <cstring>

OutputFile::~OutputFile() {
    Output_Discard(this);
}

bool Output_CheckNames(const std::vector<std::string>& inputs,
                       const std::vector<std::string>& outputs,
                       const std::vector<std::string>& names, std::string* error) {
    std::vector<OutputFileId> inputIds;
    for (const std::string& input : inputs) {
        OutputFileId id;
        if (!input.empty() && input != "-" && OutputPlatform_Identify(input, &id) && id.exists &&
            id.regular)
            inputIds.push_back(id);
    }
    std::vector<OutputFileId> outputIds(outputs.size());
    std::vector<bool> compared(outputs.size(), false);
    for (size_t i = 0; i < outputs.size(); ++i) {
        const std::string& path = outputs[i];
        const std::string& name = i < names.size() ? names[i] : path;
        if (path.empty() || path == "-" || !OutputPlatform_Identify(path, &outputIds[i]) ||
            (outputIds[i].exists && !outputIds[i].regular))
            continue;
        for (const OutputFileId& input : inputIds) {
            if (input == outputIds[i]) {
                *error = name + " " + Cli_Echo(path) +
                         " is an input of this run: writing it would destroy it";
                return false;
            }
        }
        for (size_t j = 0; j < i; ++j) {
            if (compared[j] && outputIds[j] == outputIds[i]) {
                const std::string& other = j < names.size() ? names[j] : outputs[j];
                *error = other + " and " + name + " both write " + Cli_Echo(path) +
                         ": give each its own file";
                return false;
            }
        }
        compared[i] = true;
    }
    return true;
}

bool Output_Open(OutputFile* out, const std::string& path, bool binary, std::string* error) {
    Output_Discard(out);
    out->path = path;
    out->target.clear();
    if (path == "-") {
        out->file = stdout;
        return true;
    }
    out->target = OutputPlatform_Resolve(path);
    OutputFileId id;
    if (OutputPlatform_Identify(out->target, &id) && id.exists && !id.regular) {
        // A device or a pipe cannot be renamed over: it is written as it is.
        out->file = fopen(out->target.c_str(), binary ? "wb" : "w");
        if (!out->file)
            *error = "cannot write " + path + ": " + strerror(errno);
        return out->file != nullptr;
    }
    std::string reason;
    out->file = OutputPlatform_CreateTemp(out->target, binary, &out->temp, &reason);
    if (!out->file)
        *error = "cannot write " + path + ": " + reason;
    return out->file != nullptr;
}

bool Output_Write(OutputFile* out, const std::string& text, std::string* error) {
    if (!out->file) {
        *error = "cannot write " + out->path + ": not open";
        return false;
    }
    if (!text.empty() && fwrite(text.data(), 1, text.size(), out->file) != text.size()) {
        *error = (out->path == "-" ? std::string("standard output") : out->path) +
                 ": write failed: " + strerror(errno);
        return false;
    }
    return true;
}

bool Output_Commit(OutputFile* out, std::string* error) {
    if (!out->file) {
        *error = "cannot write " + out->path + ": not open";
        return false;
    }
    FILE* file = out->file;
    out->file = nullptr;
    if (!Cli_Close(file, out->path, error)) {
        Output_Discard(out);
        return false;
    }
    if (out->temp.empty())
        return true;
    std::string reason;
    if (!OutputPlatform_Replace(out->temp, out->target, &reason)) {
        *error = "cannot write " + out->path + ": " + reason;
        Output_Discard(out);
        return false;
    }
    out->temp.clear();
    return true;
}

void Output_Discard(OutputFile* out) {
    if (out->file && out->file != stdout)
        fclose(out->file);
    out->file = nullptr;
    if (!out->temp.empty())
        remove(out->temp.c_str());
    out->temp.clear();
}
