#!/usr/bin/env python3
"""tests/examples/flight_math_figures.py
Reads the flight-math example's output on standard input and compares it,
line for line, with the text worked out here from the published formulas
(spherical law of cosines at 60 NM per degree; the standard atmosphere;
the subsonic pitot relation; a PID step; a rate-limited step). The model
itself is first checked against published figures. Exits 1 on a
difference."""
import math
import sys

DEG = 0.01745329251944  # the library's degree, a hair off pi/180
TROPOPAUSE = 36089.0


def distance_bearing(lat1, lon1, lat2, lon2):
    p1, p2 = lat1 * DEG, lat2 * DEG
    dl = (lon2 - lon1) * DEG
    d = math.acos(math.sin(p1) * math.sin(p2) + math.cos(p1) * math.cos(p2) * math.cos(dl))
    b = math.degrees(math.acos((math.sin(p2) - math.sin(p1) * math.cos(d)) / (math.cos(p1) * math.sin(d))))
    if dl < 0:
        b = 360 - b
    return math.degrees(d) * 60 * 1852, b


def isa(h):
    t = 15 - 0.0019812 * h
    k = 1 - 6.8755856e-6 * h
    return t, 29.92126 * k ** 5.2558797, 1.225 * k ** 4.2558797


def speed_of_sound(oat):
    return math.sqrt(oat + 273.15) * 38.967854


def mach(cas, h):
    p = isa(h)[1]
    q = ((1 + 0.2 * (cas / speed_of_sound(15)) ** 2) ** 3.5 - 1) * 29.92126
    return math.sqrt(5 * ((q / p + 1) ** (2 / 7) - 1))


def expected():
    lines = []
    for name, a, b in (("equator, 10 deg east", (0, 0), (0, 10)),
                       ("LSZH to EGLL", (47.4647, 8.5492), (51.4775, -0.4614))):
        d, brg = distance_bearing(*a, *b)
        lines.append(f"{name}: {d:.1f} m ({d / 1852:.2f} NM), initial bearing {brg:.3f} deg")
    t, p, rho = isa(10000)
    lines.append(f"ISA at 10000 ft: {t:.3f} C, {p:.3f} inHg, {rho:.4f} kg/m3")
    lines.append(f"speed of sound: {speed_of_sound(15):.2f} kt at sea level, {speed_of_sound(t):.2f} kt at {t:.3f} C")
    m = mach(250, 10000)
    lines.append(f"250 kt CAS at 10000 ft: Mach {m:.4f}, TAS {m * speed_of_sound(t):.1f} kt")
    t5 = 15 - 0.0019812 * 5000 + 273.15
    da = 5000 + t5 / 0.0019812 * (1 - (t5 / (25 + 273.15)) ** 0.234969)
    lines.append(f"density altitude at 5000 ft and 25 C: {da:.1f} ft")
    # PID: 1000 ft low, p = 50 saturates and clears the integral; then 10 ft low.
    lines.append("PID at 4000 ft for 5000 ft: error 1000.0, output 1.000 (p 50.0, i 0.00)")
    p, i, dterm = 0.05 * 10, 0.01 * 10, (4000 - 4990) * 0.0005
    lines.append(f"PID at 4990 ft: error 10.0, output {p + i + dterm:.3f} (p {p:.2f}, i {i:.2f}, d {dterm:.3f})")
    # Bank: 3 degrees a step, 25 passed on the ninth.
    lines += ["bank after 1.00 s: 12.0 deg", "bank after 2.00 s: 24.0 deg",
              "bank after 2.25 s: 25.0 deg (reached)", "bank after 3.00 s: 25.0 deg"]
    return lines


def check_model():
    """The model against published figures, so that a fault shared by the
    model and the library would not pass unseen."""
    t, p, rho = isa(10000)
    d, _ = distance_bearing(47.4647, 8.5492, 51.4775, -0.4614)
    equator, east = distance_bearing(0, 0, 0, 10)
    published = [("ISA temperature at 10000 ft (C)", t, -4.81, 0.01),
                 ("ISA pressure at 10000 ft (inHg)", p, 20.58, 0.01),
                 ("ISA density at 10000 ft (kg/m3)", rho, 0.9046, 0.0005),
                 ("speed of sound at sea level (kt)", speed_of_sound(15), 661.47, 0.02),
                 ("Mach of 250 KCAS at 10000 ft", mach(250, 10000), 0.4523, 0.0005),
                 ("LSZH to EGLL (km, on the ellipsoid 788)", d / 1000, 788.0, 3.0),
                 ("equator, 10 degrees (m: 600 NM)", equator, 1111200.0, 0.01),
                 ("equator, 10 degrees east (bearing)", east, 90.0, 1e-6)]
    bad = [f"{n}: model {v:.4f}, published {ref}" for n, v, ref, tol in published if abs(v - ref) > tol]
    for b in bad:
        print(f"flight-math: the test's own model is off: {b}")
    return not bad


def main():
    got = sys.stdin.read().splitlines()
    if not check_model():
        return 1
    want = expected()
    bad = 0
    for n in range(max(len(got), len(want))):
        g = got[n] if n < len(got) else "(nothing)"
        w = want[n] if n < len(want) else "(nothing)"
        if g != w:
            print(f"flight-math line {n + 1}: printed '{g}', expected '{w}'")
            bad += 1
    print(f"flight-math: {len(want) - bad} of {len(want)} lines as expected")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
