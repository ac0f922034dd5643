// tools/facilities/formats.cpp
// The records as JSON (every field), CSV (one row a facility) and GeoJSON
// (points, and runways as lines between their thresholds).
#include "facilities_tool.h"

#include <cmath>

static const char* KindName(int32_t kind) {
    return kind == FACILITY_VOR       ? "VOR"
           : kind == FACILITY_NDB     ? "NDB"
           : kind == FACILITY_AIRPORT ? "AIRPORT"
                                      : "?";
}

static void Point(FacilitiesOut* out, const GeoPosition& p) {
    Out_Text(out, "{\"latitude\":");
    Out_Number(out, p.latitude * RAD_TO_DEG);
    Out_Text(out, ",\"longitude\":");
    Out_Number(out, p.longitude * RAD_TO_DEG);
    Out_Text(out, "}");
}

// [longitude, latitude] within GeoJSON's ranges. The reader's packing
// holds latitudes past a pole; such a point is the same place seen from
// the other side, 180 degrees round.
static void Coordinates(FacilitiesOut* out, const GeoPosition& p) {
    double lat = remainder(p.latitude * RAD_TO_DEG, 360.0);
    double lon = p.longitude * RAD_TO_DEG;
    if (fabs(lat) > 90) {
        lat = copysign(180.0, lat) - lat;
        lon += 180;
    }
    Out_Text(out, "[");
    Out_Number(out, remainder(lon, 360.0));
    Out_Text(out, ",");
    Out_Number(out, lat);
    Out_Text(out, "]");
}

static void Field(FacilitiesOut* out, const char* name, double value) {
    Out_Text(out, ",\"");
    Out_Text(out, name);
    Out_Text(out, "\":");
    Out_Number(out, value);
}

static void Field(FacilitiesOut* out, const char* name, float value) {
    Out_Text(out, ",\"");
    Out_Text(out, name);
    Out_Text(out, "\":");
    Out_Number(out, value);
}

static void RunwayEndJson(FacilitiesOut* out, const RunwayEnd& e) {
    Out_Text(out, "{\"ident\":");
    Out_Json(out, e.ident);
    Out_Text(out, ",\"threshold\":");
    Point(out, e.threshold);
    Field(out, "heading", e.heading);
    Field(out, "length", e.length);
    Out_Text(out, ",\"aidIdent\":");
    Out_Json(out, e.aidIdent);
    Out_Text(out, ",\"aidPosition\":");
    Point(out, e.aidPosition);
    Field(out, "aidCourse", e.aidCourse);
    Field(out, "aidFrequency", e.aidFrequency);
    Out_Text(out, "}");
}

static void RunwayJson(FacilitiesOut* out, const RunwayRecord& w) {
    Out_Text(out, "{\"ident\":");
    Out_Json(out, w.ident);
    Out_Text(out, ",\"centre\":");
    Point(out, w.centre);
    Field(out, "heading", w.heading);
    Field(out, "length", w.length);
    Field(out, "width", w.width);
    Out_Text(out, ",\"primaryEnd\":");
    RunwayEndJson(out, w.primaryEnd);
    Out_Text(out, ",\"oppositeEnd\":");
    RunwayEndJson(out, w.oppositeEnd);
    Out_Text(out, "}");
}

static void FacilityJson(FacilitiesOut* out, const FacilityRecord* r) {
    Out_Text(out, std::string("{\"kind\":\"") + KindName(r->kind) + "\",\"ident\":");
    Out_Json(out, r->ident);
    Field(out, "latitude", r->position.latitude * RAD_TO_DEG);
    Field(out, "longitude", r->position.longitude * RAD_TO_DEG);
    Field(out, "altitude", r->position.altitude);
    Field(out, "frequency", r->frequency);
    Out_Text(out, ",\"entryCode\":");
    Out_Number(out, r->kind == FACILITY_VOR ? r->entryCode : 0);
    Out_Text(out, ",\"runways\":[");
    for (int32_t i = 0; i < r->runwayCount; ++i) {
        Out_Text(out, i ? "," : "");
        RunwayJson(out, r->runways[i]);
    }
    Out_Text(out, "]}");
}

void Facilities_PrintJson(FacilitiesOut* out, const ObjectList* list) {
    Out_Text(out, "[");
    const char* comma = "\n";
    for (const ListNode* n = list ? list->head : nullptr; n; n = n->next, comma = ",\n") {
        Out_Text(out, comma);
        FacilityJson(out, static_cast<const FacilityRecord*>(n->item));
    }
    Out_Text(out, "\n]\n");
}

void Facilities_PrintCsv(FacilitiesOut* out, const ObjectList* list) {
    Out_Text(out, "kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz,runways\n");
    for (const ListNode* n = list ? list->head : nullptr; n; n = n->next) {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        Out_Text(out, KindName(r->kind));
        Out_Text(out, ",");
        Out_Csv(out, r->ident);
        Out_Text(out, ",");
        Out_Number(out, r->position.latitude * RAD_TO_DEG);
        Out_Text(out, ",");
        Out_Number(out, r->position.longitude * RAD_TO_DEG);
        Out_Text(out, ",");
        Out_Number(out, r->position.altitude);
        Out_Text(out, ",");
        Out_Number(out, r->frequency);
        Out_Text(out, ",");
        Out_Number(out, r->runwayCount);
        Out_Text(out, "\n");
    }
}

static void RunwayFeature(FacilitiesOut* out, const FacilityRecord* r, const RunwayRecord& w) {
    Out_Text(out, ",\n{\"type\":\"Feature\",\"properties\":{\"kind\":\"RUNWAY\",\"airport\":");
    Out_Json(out, r->ident);
    Out_Text(out, ",\"ident\":");
    Out_Json(out, w.ident);
    Out_Text(out, "},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[");
    Coordinates(out, w.primaryEnd.threshold);
    Out_Text(out, ",");
    Coordinates(out, w.oppositeEnd.threshold);
    Out_Text(out, "]}}");
}

void Facilities_PrintGeoJson(FacilitiesOut* out, const ObjectList* list) {
    Out_Text(out, "{\"type\":\"FeatureCollection\",\"features\":[");
    const char* comma = "\n";
    for (const ListNode* n = list ? list->head : nullptr; n; n = n->next, comma = ",\n") {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        Out_Text(out, std::string(comma) + "{\"type\":\"Feature\",\"properties\":{\"kind\":\"" +
                          KindName(r->kind) + "\",\"ident\":");
        Out_Json(out, r->ident);
        Field(out, "frequency", r->frequency);
        Out_Text(out, "},\"geometry\":{\"type\":\"Point\",\"coordinates\":");
        Coordinates(out, r->position);
        Out_Text(out, "}}");
        for (int32_t i = 0; i < r->runwayCount; ++i)
            RunwayFeature(out, r, r->runways[i]);
    }
    Out_Text(out, "\n]}\n");
}
