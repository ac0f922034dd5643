// tests/win32/host_run.cpp
// Starts the stand-in simulator as a separate process, as the simulator
// would run, and parses the CSV log it leaves.
#include "host_run.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

static std::string ProgramFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

static std::string TempFile(const char* prefix) {
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, prefix, 0, path);
    return path;
}

std::vector<HostLogLine> HostRun::Of(const std::string& kind) const {
    std::vector<HostLogLine> out;
    for (const HostLogLine& line : lines)
        if (line.kind == kind)
            out.push_back(line);
    return out;
}

int64_t HostRun::FirstMs(const std::string& kind) const {
    for (const HostLogLine& line : lines)
        if (line.kind == kind)
            return line.tMs;
    return -1;
}

HostRun RunHost(const std::string& script, double seconds) {
    HostRun run;
    const std::string scriptPath = TempFile("scr"), logPath = TempFile("log");
    {
        std::ofstream out(scriptPath);
        out << script << "\nseconds " << seconds << "\n";
    }
    std::string command = "\"" + ProgramFolder() + "skorvan-host.exe\" --script \"" + scriptPath +
                          "\" --log \"" + logPath + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << command;
        return run;
    }
    const DWORD limitMs = static_cast<DWORD>((seconds + 30) * 1000);
    if (WaitForSingleObject(process.hProcess, limitMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the host did not end within " << limitMs << " ms";
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.exitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::ifstream log(logPath);
    std::string text;
    while (std::getline(log, text)) {
        std::istringstream fields(text);
        std::string field;
        HostLogLine line;
        std::getline(fields, field, ',');
        line.tMs = std::stoll(field);
        std::getline(fields, line.kind, ',');
        while (std::getline(fields, field, ','))
            line.fields.push_back(field);
        run.lines.push_back(line);
    }
    DeleteFileA(scriptPath.c_str());
    DeleteFileA(logPath.c_str());
    return run;
}

int RunHostCommandLine(const std::string& arguments, std::string* output) {
    output->clear();
    const std::string outputPath = TempFile("out");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    std::string command = "\"" + ProgramFolder() + "skorvan-host.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION process = {};
    const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(file);
    int status = -1;
    if (started) {
        if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            status = static_cast<int>(code);
        } else {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::ifstream in(outputPath, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    *output = all.str();
    in.close();
    DeleteFileA(outputPath.c_str());
    return status;
}

static const char* const KEY =
    "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0\\Skorvan";

void Settings_DeleteKey() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, KEY);
}

bool Settings_Fetch(const char* name, unsigned long* type, std::string* text) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[512] = {};
    DWORD size = sizeof buffer - 1;
    DWORD valueType = 0;
    const bool ok = RegQueryValueExA(key, name, nullptr, &valueType,
                                     reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (ok) {
        *type = valueType;
        *text = buffer;
    }
    return ok;
}

std::string Settings_Text(const char* name) {
    unsigned long type = 0;
    std::string text;
    if (!Settings_Fetch(name, &type, &text))
        return "<missing>";
    return type == REG_SZ ? text : "<not text>";
}
