// tools/replay/svg.cpp
// A picture of a flight: the track, each fly-by camera point with a line to
// where the aircraft was when it was placed, and the travelling camera's
// path, on a local flat projection with a scale bar.
#include "replay.h"

#include "geo.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

namespace {

const double PI = 3.141592653589793;
const int WIDTH = 1000, HEIGHT = 760, MARGIN = 60;

// Length of the well-formed UTF-8 sequence at s (0 when it is not one).
size_t Utf8Length(const unsigned char* s, size_t left) {
    const unsigned char c = s[0];
    const size_t n = c < 0x80                ? 1
                     : c >= 0xC2 && c < 0xE0 ? 2
                     : c >= 0xE0 && c < 0xF0 ? 3
                     : c >= 0xF0 && c < 0xF5 ? 4
                                             : 0;
    if (n == 0 || n > left)
        return 0;
    for (size_t i = 1; i < n; ++i)
        if ((s[i] & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((c == 0xE0 && s[1] < 0xA0) || (c == 0xED && s[1] >= 0xA0) || (c == 0xF0 && s[1] < 0x90) ||
        (c == 0xF4 && s[1] >= 0x90))
        return 0;
    return n;
}

// Text for XML content or an attribute. A file name may hold any bytes;
// what XML cannot carry (control characters, broken UTF-8) becomes U+FFFD
// so the picture still opens.
std::string Escape(const std::string& text) {
    std::string out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = s[i];
        const size_t n = Utf8Length(s + i, text.size() - i);
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '\'')
            out += "&apos;";
        else if (n == 0 || (c < 0x20 && c != '\t'))
            out += "\xEF\xBF\xBD";
        else
            out.append(text, i, n);
        i += n ? n : 1;
    }
    return out;
}

// Degrees to picture pixels around a centre, north up.
struct Projection {
    double centreLat, centreLon, metresPerPixel, originX, originY;
    void Place(double latDeg, double lonDeg, double* x, double* y) const {
        const double east = remainder(lonDeg - centreLon, 360.0) * PI / 180 * EARTH_RADIUS_M *
                            cos(centreLat * PI / 180);
        const double north = (latDeg - centreLat) * PI / 180 * EARTH_RADIUS_M;
        *x = originX + east / metresPerPixel;
        *y = originY - north / metresPerPixel;
    }
};

Projection Fit(const FlightPicture& picture) {
    std::vector<std::pair<double, double>> points;
    for (const TrackSample& s : picture.track)
        points.push_back({s.latDeg, s.lonDeg});
    for (const CameraWrite& w : picture.writes)
        points.push_back({w.latDeg, w.lonDeg});
    for (const CameraWrite& w : picture.followTurnWrites)
        points.push_back({w.latDeg, w.lonDeg});
    Projection p{points.empty() ? 0 : points[0].first, points.empty() ? 0 : points[0].second, 1, 0,
                 0};
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const auto& q : points) {
        double x, y;
        p.Place(q.first, q.second, &x, &y);
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    const double spanX = std::max(maxX - minX, 100.0), spanY = std::max(maxY - minY, 100.0);
    // The title takes 40 pixels at the top, the legend 90 at the bottom.
    p.metresPerPixel =
        std::max(spanX / (WIDTH - 2 * MARGIN), spanY / (HEIGHT - 2 * MARGIN - 40 - 90));
    p.originX = WIDTH / 2.0 - (minX + maxX) / 2 / p.metresPerPixel;
    p.originY = (HEIGHT + 40 - 90) / 2.0 - (minY + maxY) / 2 / p.metresPerPixel;
    return p;
}

// A round length for the scale bar, about a fifth of the picture.
double ScaleLength(double metresPerPixel) {
    const double target = metresPerPixel * WIDTH / 5;
    double unit = pow(10.0, floor(log10(target)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (unit * step >= target / 1.5)
            return unit * step;
    return unit * 10;
}

} // namespace

std::string Replay_Svg(const FlightPicture& picture) {
    const Projection proj = Fit(picture);
    std::string svg =
        Text_Format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                    "viewBox=\"0 0 %d %d\" font-family=\"sans-serif\">\n",
                    WIDTH, HEIGHT, WIDTH, HEIGHT);
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#f4f1e8\"/>\n";
    svg += Text_Format("<text x=\"20\" y=\"32\" font-size=\"20\" fill=\"#222\">%s</text>\n",
                       Escape(picture.title).c_str());
    int places = 0, travels = 0;
    for (const CameraWrite& w : picture.writes)
        (w.placed ? places : travels)++;
    svg += Text_Format(
        "<text x=\"20\" y=\"54\" font-size=\"13\" fill=\"#555\">%d fly-by points, %d travelling "
        "positions, %.0f s of flight</text>\n",
        places, travels,
        picture.track.empty() ? 0.0 : picture.track.back().tS - picture.track.front().tS);

    // Track.
    std::string path;
    for (const TrackSample& s : picture.track) {
        double x, y;
        proj.Place(s.latDeg, s.lonDeg, &x, &y);
        path += Text_Format("%.1f,%.1f ", x, y);
    }
    svg += "<polyline fill=\"none\" stroke=\"#2563a8\" stroke-width=\"2.5\" points=\"" + path +
           "\"/>\n";
    if (!picture.track.empty()) {
        double x, y;
        proj.Place(picture.track.front().latDeg, picture.track.front().lonDeg, &x, &y);
        svg += Text_Format(
            "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"6\" fill=\"#2563a8\"/><text x=\"%.1f\" y=\"%.1f\" "
            "font-size=\"13\" fill=\"#2563a8\">start</text>\n",
            x, y, x + 9, y - 8);
    }

    // Travelling positions, then fly-by points with their sight lines.
    for (const CameraWrite& w : picture.writes) {
        if (w.placed)
            continue;
        double x, y;
        proj.Place(w.latDeg, w.lonDeg, &x, &y);
        svg += Text_Format(
            "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"2.5\" fill=\"#e0862a\" opacity=\"0.7\"/>\n", x, y);
    }
    // Fly-by points in red; those of the run that follows the turn in green.
    const struct {
        const std::vector<CameraWrite>& writes;
        const char *colour, *label;
    } runs[] = {{picture.writes, "#c0392b", "#7a1f14"},
                {picture.followTurnWrites, "#1e8449", "#145a32"}};
    for (const auto& run : runs) {
        for (const CameraWrite& w : run.writes) {
            if (!w.placed)
                continue;
            double x, y, ax, ay;
            proj.Place(w.latDeg, w.lonDeg, &x, &y);
            proj.Place(w.aircraft.latDeg, w.aircraft.lonDeg, &ax, &ay);
            svg +=
                Text_Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" "
                            "stroke-width=\"1\" stroke-dasharray=\"4 3\"/>\n",
                            ax, ay, x, y, run.colour);
            svg += Text_Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3.5\" fill=\"#2563a8\"/>\n", ax,
                               ay);
            svg +=
                Text_Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"6\" fill=\"%s\" stroke=\"#fff\" "
                            "stroke-width=\"1.5\"/>\n",
                            x, y, run.colour);
            svg += Text_Format(
                "<text x=\"%.1f\" y=\"%.1f\" font-size=\"11\" fill=\"%s\">%.1f s</text>\n", x + 8,
                y + 4, run.label, w.tS);
        }
    }

    // Scale bar, north arrow and legend.
    const double length = ScaleLength(proj.metresPerPixel);
    const double pixels = length / proj.metresPerPixel;
    svg += Text_Format(
        "<g stroke=\"#222\" stroke-width=\"2\"><line x1=\"20\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\"/>"
        "<line x1=\"20\" y1=\"%d\" x2=\"20\" y2=\"%d\"/><line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" "
        "y2=\"%d\"/></g>\n",
        HEIGHT - 24, 20 + pixels, HEIGHT - 24, HEIGHT - 30, HEIGHT - 18, 20 + pixels, HEIGHT - 30,
        20 + pixels, HEIGHT - 18);
    svg += Text_Format("<text x=\"%.1f\" y=\"%d\" font-size=\"13\" fill=\"#222\">%.0f m</text>\n",
                       28 + pixels, HEIGHT - 19, length);
    svg += Text_Format(
        "<text x=\"%d\" y=\"34\" font-size=\"16\" fill=\"#222\" text-anchor=\"middle\">N</text>"
        "<path d=\"M %d 40 l -7 18 l 7 -5 l 7 5 z\" fill=\"#222\"/>\n",
        WIDTH - 30, WIDTH - 30);
    const int lx = WIDTH - (picture.followTurnWrites.empty() ? 250 : 340), ly = HEIGHT - 78;
    svg += Text_Format(
        "<g font-size=\"12\" fill=\"#222\">"
        "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#2563a8\" stroke-width=\"2.5\"/>"
        "<text x=\"%d\" y=\"%d\">aircraft track</text>"
        "<circle cx=\"%d\" cy=\"%d\" r=\"6\" fill=\"#c0392b\"/>"
        "<text x=\"%d\" y=\"%d\">fly-by camera point (time placed)</text>"
        "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#c0392b\" stroke-dasharray=\"4 "
        "3\"/>"
        "<text x=\"%d\" y=\"%d\">from the aircraft at that moment</text>"
        "<circle cx=\"%d\" cy=\"%d\" r=\"2.5\" fill=\"#e0862a\"/>"
        "<text x=\"%d\" y=\"%d\">travelling camera</text></g>\n",
        lx, ly, lx + 24, ly, lx + 32, ly + 4, lx + 12, ly + 18, lx + 32, ly + 22, lx, ly + 36,
        lx + 24, ly + 36, lx + 32, ly + 40, lx + 12, ly + 54, lx + 32, ly + 58);
    if (!picture.followTurnWrites.empty())
        svg += Text_Format("<g font-size=\"12\" fill=\"#222\"><circle cx=\"%d\" cy=\"%d\" r=\"6\" "
                           "fill=\"#1e8449\"/><text x=\"%d\" y=\"%d\">the point following the turn "
                           "(FlyByFollowTurn 1)</text></g>\n",
                           lx + 12, ly - 18, lx + 32, ly - 14);
    svg += "</svg>\n";
    return svg;
}
