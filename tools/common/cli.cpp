// tools/common/cli.cpp
// The shared command-line conventions of the Skorvan programs.
#include "cli.h"

#include "number.h"
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
        return Cli_Finish(app, 0);
    } catch (const CLI::CallForVersion& e) {
        printf("%s\n", e.what());
        return Cli_Finish(app, 0);
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

int Cli_Fail(const std::string& program, const std::string& message) {
    fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
    return CLI_FAILED;
}

int Cli_UsageFail(const std::string& program, const std::string& message) {
    fprintf(stderr, "%s: %s\nRun with --help for more information.\n", program.c_str(),
            message.c_str());
    return CLI_USAGE;
}

std::string Cli_Echo(const std::string& value) {
    std::string shown = "'";
    size_t characters = 0, i = 0;
    for (; i < value.size() && characters < CLI_ECHO_LIMIT; ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if ((c & 0xC0) != 0x80) // a UTF-8 continuation byte is part of the character before
            ++characters;
        if (c == '\n')
            shown += "\\n";
        else if (c == '\r')
            shown += "\\r";
        else if (c == '\t')
            shown += "\\t";
        else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
        } else
            shown += static_cast<char>(c);
    }
    while (i < value.size() && (static_cast<unsigned char>(value[i]) & 0xC0) == 0x80)
        shown += value[i++]; // never cut a character in two
    if (i < value.size())
        shown += "...";
    return shown + "'";
}

bool Cli_ReadSize(const std::string& text, int maxSide, int* width, int* height, std::string* why) {
    const size_t x = text.find_first_of("xX");
    long long w = 0, h = 0;
    if (x == std::string::npos || !Number_ReadWhole(text.substr(0, x), 1, maxSide, &w) ||
        !Number_ReadWhole(text.substr(x + 1), 1, maxSide, &h)) {
        *why = "size " + Cli_Echo(text) + " must be WIDTHxHEIGHT, each 1 to " +
               std::to_string(maxSide);
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

CLI::Validator Cli_NumberRange(double low, double high) {
    return CLI::Validator(
        [low, high](std::string& value) {
            double number;
            std::string why;
            return Number_ReadInRange(value, low, high, &number, &why) ? std::string()
                                                                       : "the value " + why;
        },
        "NUMBER in " + Number_Show(low) + " to " + Number_Show(high));
}

CLI::Validator Cli_WholeRange(long long low, long long high) {
    return CLI::Validator(
        [low, high](std::string& value) {
            long long number;
            std::string why;
            return Number_ReadWhole(value, low, high, &number, &why) ? std::string()
                                                                     : "the value " + why;
        },
        "INT in " + std::to_string(low) + " to " + std::to_string(high));
}

CLI::Validator Cli_SizeCheck(int maxSide) {
    return CLI::Validator(
        [maxSide](std::string& value) {
            int width, height;
            std::string why;
            return Cli_ReadSize(value, maxSide, &width, &height, &why) ? std::string() : why;
        },
        "WIDTHxHEIGHT");
}
