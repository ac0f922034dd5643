/* examples/flight-math/flight_math.c
 * What a gauge computes between two frames, printed: the distance and
 * bearing from Zurich to London Heathrow, the standard atmosphere at
 * 10,000 ft, the Mach number and true airspeed of 250 kt calibrated
 * there, and an autopilot's PID step and rate-limited bank command. */
#include <skorvan/airdata.h>
#include <skorvan/geo.h>

#include <stdio.h>

/* The standard atmosphere's tropopause; the library takes it from the
 * caller so that a non-standard day can move it. */
#define TROPOPAUSE_FT 36089.0

static GeoPosition Degrees(double latitudeDeg, double longitudeDeg) {
    GeoPosition p;
    p.latitude = latitudeDeg * DEG_TO_RAD;
    p.longitude = longitudeDeg * DEG_TO_RAD;
    p.altitude = 0.0;
    return p;
}

static void PrintRoute(const char* name, GeoPosition from, GeoPosition to) {
    double distanceM = 0.0, bearingDeg = 0.0;
    Geo_DistanceBearing(&from, &to, &distanceM, &bearingDeg);
    printf("%s: %.1f m (%.2f NM), initial bearing %.3f deg\n", name, distanceM, distanceM / 1852.0,
           bearingDeg);
}

int main(void) {
    const double altitudeFt = 10000.0, casKt = 250.0;
    const double oatC = AirData_IsaTemperature(TROPOPAUSE_FT, altitudeFt);
    ControlContext control;
    PidController pid;
    double bankDeg = 0.0;
    int step;

    PrintRoute("equator, 10 deg east", Degrees(0.0, 0.0), Degrees(0.0, 10.0));
    PrintRoute("LSZH to EGLL", Degrees(47.4647, 8.5492), Degrees(51.4775, -0.4614));

    printf("ISA at %.0f ft: %.3f C, %.3f inHg, %.4f kg/m3\n", altitudeFt, oatC,
           AirData_IsaPressure(TROPOPAUSE_FT, altitudeFt),
           AirData_IsaDensity(TROPOPAUSE_FT, altitudeFt));
    printf("speed of sound: %.2f kt at sea level, %.2f kt at %.3f C\n",
           AirData_SeaLevelSpeedOfSound(), AirData_SpeedOfSound(oatC), oatC);
    printf("%.0f kt CAS at %.0f ft: Mach %.4f, TAS %.1f kt\n", casKt, altitudeFt,
           AirData_MachFromCas(TROPOPAUSE_FT, casKt, altitudeFt),
           AirData_TasFromCas(TROPOPAUSE_FT, casKt, altitudeFt, oatC));
    printf("density altitude at 5000 ft and 25 C: %.1f ft\n",
           AirData_DensityAltitude(TROPOPAUSE_FT, 5000.0, 25.0));

    /* A PidController is set up zeroed, then given its gains and the
     * limits of its integral; input and setpoint come before each step. */
    pid = (PidController){0};
    pid.kp = 0.05;
    pid.ki = 0.01;
    pid.kd = 0.0005;
    pid.integralMin = -20.0;
    pid.integralMax = 20.0;
    pid.previousInput = 4000.0;
    pid.setpoint = 5000.0; /* altitude hold: climb from 4000 ft to 5000 ft */
    pid.input = 4000.0;
    Pid_Step(&pid);
    printf("PID at 4000 ft for 5000 ft: error %.1f, output %.3f (p %.1f, i %.2f)\n", pid.error,
           pid.output, pid.pTerm, pid.iTerm);
    pid.input = 4990.0;
    Pid_Step(&pid);
    printf("PID at 4990 ft: error %.1f, output %.3f (p %.2f, i %.2f, d %.3f)\n", pid.error,
           pid.output, pid.pTerm, pid.iTerm, pid.dTerm);

    /* Roll toward 25 degrees of bank at 12 deg/s, stepped every 1/4 s. */
    control.stepTime = 0.25;
    for (step = 1; step <= 12; ++step) {
        const int reached = Control_StepToward(&control, &bankDeg, 25.0, 12.0);
        if (reached || step % 4 == 0)
            printf("bank after %.2f s: %.1f deg%s\n", step * control.stepTime, bankDeg,
                   reached ? " (reached)" : "");
    }
    return 0;
}
