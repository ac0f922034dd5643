// flyby/camera.cpp
// Encodes a camera point into the host's five camera words: latitude and
// longitude as whole units plus 32-bit fractions, altitude as 16-bit metres.
#include "flyby_internal.h"

#include <cmath>

volatile uint32_t* g_cameraLatitudeFraction = nullptr;
volatile int32_t* g_cameraLatitudeWhole = nullptr;
volatile uint32_t* g_cameraLongitudeFraction = nullptr;
volatile int32_t* g_cameraLongitudeWhole = nullptr;
volatile int16_t* g_cameraAltitude = nullptr;
static CameraObserver g_cameraObserver = nullptr;

void Camera_SetObserver(CameraObserver observer) {
    g_cameraObserver = observer;
}

void Camera_SetOutputAddresses(uintptr_t base) {
    auto at = [base](uintptr_t offset) { return base ? base + offset : 0; };
    g_cameraLatitudeFraction =
        reinterpret_cast<volatile uint32_t*>(at(CAMERA_OFFSET_LATITUDE_FRACTION));
    g_cameraLatitudeWhole = reinterpret_cast<volatile int32_t*>(at(CAMERA_OFFSET_LATITUDE_WHOLE));
    g_cameraLongitudeFraction =
        reinterpret_cast<volatile uint32_t*>(at(CAMERA_OFFSET_LONGITUDE_FRACTION));
    g_cameraLongitudeWhole = reinterpret_cast<volatile int32_t*>(at(CAMERA_OFFSET_LONGITUDE_WHOLE));
    g_cameraAltitude = reinterpret_cast<volatile int16_t*>(at(CAMERA_OFFSET_ALTITUDE));
}

double FractionOfMagnitude(double x) {
    const double magnitude = fabs(x);
    return magnitude - floor(magnitude);
}

// Truncation toward zero to 64 bits. Only the low bits are ever stored, so
// values no 64-bit integer holds (NaN, infinities) become 0 rather than
// undefined behaviour.
static int64_t TruncateToInt64(double value) {
    if (!(fabs(value) < 9223372036854775808.0))
        return 0;
    return static_cast<int64_t>(value);
}

static uint32_t FractionSteps(double units) {
    return static_cast<uint32_t>(
        TruncateToInt64(FractionOfMagnitude(units) * CAMERA_FRACTION_STEPS));
}

// The altitude word holds whole metres from -32768 to 32767; beyond them it
// stays at the limit (a camera above 107,500 ft is held there rather than
// wrapping to a negative altitude).
static int16_t AltitudeWord(double metres) {
    if (metres >= static_cast<double>(INT16_MAX))
        return INT16_MAX;
    if (metres <= static_cast<double>(INT16_MIN))
        return INT16_MIN;
    return static_cast<int16_t>(TruncateToInt64(metres)); // NaN gives 0
}

static uint32_t Low32(int64_t value) {
    return static_cast<uint32_t>(static_cast<uint64_t>(value));
}

void Camera_WritePosition(const GeoPosition* position) {
    if (g_cameraLatitudeFraction == nullptr)
        return;
    const double a = position->latitude / GEO_HALF_PI * GEO_CAMERA_QUARTER_TURN;
    const double b = position->longitude / GEO_PI * GEO_PACKED_HALF_TURN;
    const double metres = position->altitude * GEO_METRES_PER_FOOT;

    *g_cameraLatitudeWhole = static_cast<int32_t>(Low32(TruncateToInt64(a)));
    *g_cameraLatitudeFraction = FractionSteps(a);
    *g_cameraLongitudeWhole = static_cast<int32_t>(Low32(TruncateToInt64(b)));
    *g_cameraLongitudeFraction = FractionSteps(b);
    *g_cameraAltitude = AltitudeWord(metres);
    if (g_cameraObserver)
        g_cameraObserver(position);
}
