// host/camera_win32.cpp
// The camera memory at the simulator's fixed address, which the module
// writes, and the polling that logs each new camera point.
#include "host_win32.h"

#include <cmath>
#include <cstdio>

static const uintptr_t CAMERA_REGION = 0x20A40000; // allocation granularity below 0x20A43D50
static const uintptr_t CAMERA_WORDS = 0x20A43D50;

static volatile uint8_t* g_camera = nullptr;
static HostCameraWords g_lastCamera{};

bool HostCamera_Commit() {
    g_camera = static_cast<volatile uint8_t*>(VirtualAlloc(
        reinterpret_cast<void*>(CAMERA_REGION), 0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (g_camera == nullptr) {
        fprintf(stderr, "skorvan-host: cannot commit the camera memory at 0x%08X\n",
                static_cast<unsigned>(CAMERA_WORDS));
        return false;
    }
    g_camera += CAMERA_WORDS - CAMERA_REGION;
    return true;
}

static HostCameraWords ReadCameraWords() {
    HostCameraWords w;
    w.latitudeFraction = *reinterpret_cast<volatile uint32_t*>(g_camera + 0x0);
    w.latitudeWhole = *reinterpret_cast<volatile int32_t*>(g_camera + 0x4);
    w.longitudeFraction = *reinterpret_cast<volatile uint32_t*>(g_camera + 0x8);
    w.longitudeWhole = *reinterpret_cast<volatile int32_t*>(g_camera + 0xC);
    w.altitudeM = *reinterpret_cast<volatile int16_t*>(g_camera + 0x14);
    return w;
}

static bool SameWords(const HostCameraWords& a, const HostCameraWords& b) {
    return a.latitudeFraction == b.latitudeFraction && a.latitudeWhole == b.latitudeWhole &&
           a.longitudeFraction == b.longitudeFraction && a.longitudeWhole == b.longitudeWhole &&
           a.altitudeM == b.altitudeM;
}

// Where the camera stands from the aircraft: metres ahead along the
// heading, metres to the right, on a local flat earth.
static void CameraFromAircraft(const HostFlight* flight, double cameraLat, double cameraLon,
                               double* ahead, double* right) {
    const double metresPerDegree = 6367310.0 * 3.141592653589793 / 180.0;
    double dLon = cameraLon - flight->longitudeDeg;
    dLon = fmod(dLon + 540.0, 360.0) - 180.0;
    const double north = (cameraLat - flight->latitudeDeg) * metresPerDegree;
    const double east =
        dLon * metresPerDegree * cos(flight->latitudeDeg * 3.141592653589793 / 180.0);
    const double h = flight->headingDeg * 3.141592653589793 / 180.0;
    *ahead = north * cos(h) + east * sin(h);
    *right = east * cos(h) - north * sin(h);
}

void HostCamera_Poll(const HostFlight* flight) {
    HostCameraWords words = ReadCameraWords();
    if (SameWords(words, g_lastCamera))
        return;
    // The module writes the five words one after another: wait until they
    // hold still so that a half-written point is not logged.
    for (int i = 0; i < 20; ++i) {
        Sleep(1);
        HostCameraWords again = ReadCameraWords();
        if (SameWords(again, words))
            break;
        words = again;
    }
    g_lastCamera = words;
    double lat, lon, altFt;
    HostCamera_Decode(&words, &lat, &lon, &altFt);
    HostLog_Line("camera,%u,%d,%u,%d,%d,%.9f,%.9f,%.2f", words.latitudeFraction,
                 words.latitudeWhole, words.longitudeFraction, words.longitudeWhole,
                 words.altitudeM, lat, lon, altFt);
    if (HostLog_IsLive()) {
        double ahead, right;
        CameraFromAircraft(flight, lat, lon, &ahead, &right);
        HostLog_Say("aircraft %.5f %.5f %5.0f ft hdg %3.0f  camera %.5f %.5f %5.0f ft  "
                    "%6.0f m ahead, %5.0f m %s",
                    flight->latitudeDeg, flight->longitudeDeg, flight->altitudeM * 3.28084,
                    flight->headingDeg, lat, lon, altFt, ahead, fabs(right),
                    right >= 0 ? "right" : "left");
    }
}
