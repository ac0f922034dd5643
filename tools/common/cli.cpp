// tools/common/cli.cpp
// The shared command-line conventions of the Skorvan programs.
#include "cli.h"

#include "skorvan_version.h"

#include <cerrno>
#include <cstring>

void Cli_AddStandard(CLI::App& app, bool* quiet) {
    app.set_version_flag("--version", app.get_name() + " " + SKORVAN_VERSION_STRING,
                         "Print the version and exit");
    if (quiet)
        app.add_flag("-q,--quiet", *quiet, "No progress or summary on standard error");
}

int Cli_Parse(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        printf("%s\n", e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        fprintf(stderr, "%s: %s\nRun with --help for more information.\n", app.get_name().c_str(),
                e.what());
        return 2;
    }
    return -1;
}

static FILE* Open(const std::string& path, const char* mode, FILE* standard, std::string* error) {
    if (path == "-")
        return standard;
    FILE* file = fopen(path.c_str(), mode);
    if (!file)
        *error = path + ": " + strerror(errno);
    return file;
}

FILE* Cli_OpenRead(const std::string& path, bool binary, std::string* error) {
    return Open(path, binary ? "rb" : "r", stdin, error);
}

FILE* Cli_OpenWrite(const std::string& path, bool binary, std::string* error) {
    return Open(path, binary ? "wb" : "w", stdout, error);
}

bool Cli_Close(FILE* file, const std::string& path, std::string* error) {
    const char* name = path == "-" ? "standard output" : path.c_str();
    bool ok = !ferror(file);
    int savedErrno = errno;
    if (file == stdout || file == stdin) {
        if (fflush(file) != 0) {
            ok = false;
            savedErrno = errno;
        }
    } else if (fclose(file) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok)
        *error = std::string(name) + ": write failed: " + strerror(savedErrno);
    return ok;
}

int Cli_Finish(CLI::App& app, int status) {
    std::string error;
    if (!Cli_Close(stdout, "-", &error) && status == 0) { // a failure already said its own
        fprintf(stderr, "%s: %s\n", app.get_name().c_str(), error.c_str());
        return 1;
    }
    return status;
}

bool Cli_ReadAll(const std::string& path, std::string* text, std::string* error) {
    FILE* file = Cli_OpenRead(path, true, error);
    if (!file)
        return false;
    char chunk[65536];
    size_t n;
    text->clear();
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        text->append(chunk, n);
    bool ok = !ferror(file);
    if (!ok)
        *error = path + ": read failed: " + strerror(errno);
    if (file != stdin)
        fclose(file);
    return ok;
}
