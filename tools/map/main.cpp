// tools/map/main.cpp
// skorvan-map: draws the moving map around a position to a PNG or SVG
// picture, with the facilities of a scenery folder or of skorvan-facilities'
// output, a route and traffic.
#include "map_tool.h"

#include <cstdio>
#include <memory>

static int Fail(const std::string& message, int status) {
    fprintf(stderr, "skorvan-map: %s\n", message.c_str());
    return status;
}

static std::unique_ptr<MapScene> NewScene(const MapOptions& o) {
    std::unique_ptr<MapScene> scene(new MapScene());
    scene->ownLatitude = o.lat * DEG_TO_RAD, scene->ownLongitude = o.lon * DEG_TO_RAD;
    scene->mapRange = o.range, scene->mapScale = o.scale, scene->mapRotation = o.rotation;
    scene->showVor = scene->showNdb = scene->showAirports = 1;
    scene->runwayEnds[0] = o.runwayEnds[0], scene->runwayEnds[1] = o.runwayEnds[1];
    return scene;
}

// The near list the map draws from, whatever cell was stored before.
static int32_t UpdateNear(FacilityDatabase* db, const MapScene& scene) {
    if (!db->facilities)
        return 0;
    db->nearCellLatitude = db->nearCellLongitude = INT32_MIN;
    const GeoPosition own = {scene.ownLatitude, scene.ownLongitude, 0};
    Facility_UpdateNearList(db, &own);
    return db->nearFacilities ? List_Count(db->nearFacilities) : 0;
}

// The summary goes to standard output unless the picture does.
static void Summarise(const MapOptions& o, int32_t near, const MapScene& scene) {
    if (o.quiet)
        return;
    fprintf(o.out == "-" ? stderr : stdout,
            "%d nearby facilities, %d route points, %d traffic targets drawn to %s\n", near,
            scene.route.count, scene.trafficCount,
            o.out == "-" ? "standard output" : o.out.c_str());
}

static int Draw(const MapOptions& o, const std::vector<TrafficTarget>& traffic, MapScene* scene) {
    MapContext context = {};
    std::string error;
    if (!MapFacilities_Load(o, &context.facilities, &error))
        return Facility_FreeDatabase(&context.facilities), Fail(error, 1);
    scene->traffic = traffic.data(), scene->trafficCount = static_cast<int32_t>(traffic.size());
    const int32_t near = UpdateNear(&context.facilities, *scene);
    const bool written = MapPicture_Write(o, context, *scene, &error);
    Facility_FreeDatabase(&context.facilities);
    if (!written)
        return Fail(error, 1);
    Summarise(o, near, *scene);
    return 0;
}

// An exception out of here (std::bad_alloc, or CLI11 refusing an option
// declared wrongly, a programming error; Cli_Parse catches the user's
// mistakes and the readers their input's) ends the program through
// std::terminate with a failing status.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    CLI::App app("Draws the moving map around a position to a PNG or SVG picture.", "skorvan-map");
    MapOptions options;
    MapOptions_Add(app, &options);
    const int parsed = Cli_Parse(app, argc, argv);
    if (parsed >= 0)
        return parsed;
    std::string error;
    if (!MapOptions_Check(&options, &error))
        return Fail(error, 2);
    std::unique_ptr<MapScene> scene = NewScene(options);
    std::vector<TrafficTarget> traffic;
    if ((!options.route.empty() && !MapInput_ReadRoute(options.route, &scene->route, &error)) ||
        (!options.traffic.empty() && !MapInput_ReadTraffic(options.traffic, &traffic, &error)))
        return Fail(error, 1);
    if (options.scenery.empty() && options.facilities.empty())
        return Fail("no facilities: give --scenery ROOT or --facilities FILE (/dev/null for none)",
                    2);
    return Cli_Finish(app, Draw(options, traffic, scene.get()));
}
