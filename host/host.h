// host/host.h
// The stand-in simulator's portable parts: the small flight model, the
// script that drives a run, and the host's reading of the camera words.
// The Windows program around them is host/*_win32.cpp (host_win32.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- Flight model -----------------------------------------------------------

// The aircraft as the host's variables report it. Pitch is positive nose
// down, as the simulator counts it.
struct HostFlight {
    double latitudeDeg;
    double longitudeDeg; // east positive, kept in [-180, 180)
    double altitudeM;
    double headingDeg; // [0, 360)
    double pitchDeg;
    double groundSpeedKmh;
    double turnRateDegPerS; // positive turns right
    double clockS;          // simulation time; stands still while paused
};

// Fills flight with a named scenario's start; false for an unknown name.
bool HostFlight_Start(HostFlight* flight, const std::string& scenario);
// Names of the scenarios, for the usage text.
const char* HostFlight_ScenarioNames();
// Moves the aircraft on by seconds of simulation and advances its clock.
void HostFlight_Advance(HostFlight* flight, double seconds);
// The value the host's refresh entry gives for a token (0 for unknown ones).
double HostFlight_Value(const HostFlight* flight, uint32_t token);

// ---- Camera words -----------------------------------------------------------

struct HostCameraWords {
    uint32_t latitudeFraction;
    int32_t latitudeWhole;
    uint32_t longitudeFraction;
    int32_t longitudeWhole;
    int16_t altitudeM;
};

// The host's reading: whole units plus the fraction with the whole part's
// sign. Degrees, degrees in [-180, 180), feet.
void HostCamera_Decode(const HostCameraWords* words, double* latitudeDeg, double* longitudeDeg,
                       double* altitudeFt);

// ---- Script -------------------------------------------------------------------

enum class HostAction {
    Pause,
    Resume,
    Unload,
    Load,
    Quit,
    Command,      // post WM_COMMAND (id, high word) to the main window
    SendCommand,  // send it instead
    OtherCommand, // post it to a second window of the host's
    PeekCommand,  // post it, then look at it with PM_NOREMOVE
    InitMenu,     // send WM_INITMENU to the main window
    Menu,         // log the fourth top-level menu, pop-ups included
    OpenMenu,     // open the fourth menu from the keyboard, as a user would
    Key,          // post a key (up, down, left, right, enter, escape) to the thread
    Dialog,       // act on an open dialog (see HostDialogStep)
    Screenshot,   // save the screen as a 24-bit BMP file
    Memory,       // log the process's memory
    Clock,        // set the simulation clock to value seconds
    Cycle,        // load and unload the module id times, logging memory
};

// Count logs how many of the dialog's windows are open.
enum class HostDialogStep { Read, Set, Check, Click, Escape, Close, Count };

struct HostScriptEvent {
    double atS = 0; // seconds after the host started
    HostAction action = HostAction::Quit;
    int32_t id = 0;     // command or control id
    int32_t high = 0;   // WM_COMMAND's high word; check state
    std::string dialog; // configure or about
    std::string text;   // control text, key name, file name
    HostDialogStep step = HostDialogStep::Read;
    double value = 0; // clock: seconds of simulation
};

struct HostSetting {
    std::string name;
    std::string text;   // decimal text
    bool dword = false; // stored as REG_DWORD (text holds its number) instead of REG_SZ
};

struct HostScript {
    std::string scenario = "straight";
    double seconds = 30.0;
    bool mainWindow = true;
    std::vector<HostSetting> settings;   // written to the registry before loading
    bool clearSettings = false;          // delete the module's key before loading
    std::vector<HostScriptEvent> events; // in time order
};

// Reads a whole file as bytes; false when it cannot be read.
bool HostText_ReadFile(const std::string& path, std::string* text);

// Parses a script; on failure returns false with "line N: why" in error.
bool HostScript_Parse(const std::string& text, HostScript* script, std::string* error);
