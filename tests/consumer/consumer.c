/* tests/consumer/consumer.c
 * Uses the installed headers and library from C; prints what it computed. */
#include <skorvan/airdata.h>
#include <skorvan/geo.h>
#include <skorvan/skorvan_version.h>

#include <stdio.h>

#if SKORVAN_VERSION !=                                                                             \
    SKORVAN_VERSION_OF(SKORVAN_EXPECTED_MAJOR, SKORVAN_EXPECTED_MINOR, SKORVAN_EXPECTED_PATCH)
#error "the installed skorvan_version.h differs from the package's version"
#endif

int main(void) {
    GeoPosition from = {0.0, 0.0, 0.0}, to = {0.0, 10.0 * DEG_TO_RAD, 0.0};
    double distance = 0.0, bearing = 0.0;
    char text[32];
    Geo_DistanceBearing(&from, &to, &distance, &bearing);
    Frequency_Format(Frequency_FromBcd(0x1235), text, sizeof text);
    printf("%.0f %.0f %s %.4f\n", distance, bearing, text, AirData_MachFromCas(36089, 250, 10000));
    return !(distance > 1111199 && distance < 1111201 && bearing > 89.999999 &&
             bearing < 90.000001);
}
