// tools/map/run.cpp
// skorvan-map once its options are checked: the scene, the inputs, the
// near list, the picture and the summary.
#include "map_tool.h"

#include <cstdio>
#include <memory>

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

int Map_Run(const MapOptions& o, std::string* error) {
    std::unique_ptr<MapScene> scene = NewScene(o);
    std::vector<TrafficTarget> traffic;
    if ((!o.route.empty() && !MapInput_ReadRoute(o.route, &scene->route, error)) ||
        (!o.traffic.empty() && !MapInput_ReadTraffic(o.traffic, &traffic, error)))
        return CLI_FAILED;
    MapContext context = {};
    if (!MapFacilities_Load(o, &context.facilities, error))
        return Facility_FreeDatabase(&context.facilities), CLI_FAILED;
    scene->traffic = traffic.data(), scene->trafficCount = static_cast<int32_t>(traffic.size());
    const int32_t near = UpdateNear(&context.facilities, *scene);
    const bool written = MapPicture_Write(o, context, *scene, error);
    Facility_FreeDatabase(&context.facilities);
    if (!written)
        return CLI_FAILED;
    Summarise(o, near, *scene);
    return 0;
}
