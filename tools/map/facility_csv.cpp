// tools/map/facility_csv.cpp
// skorvan-facilities' CSV: one facility a row, named by its line and column.
#include "map_tool.h"

#include "number.h"

bool MapFacilities_ParseCsv(const std::string& text, FacilityDatabase* db, std::string* error) {
    CsvReader reader;
    Csv_FromText(&reader, text, "");
    reader.comments = true;
    std::vector<int> c;
    if (!Csv_ReadHeader(&reader, error) ||
        !Csv_FindColumns(reader, {"kind", "ident", "lat_deg", "lon_deg", "alt_ft", "frequency_mhz"},
                         &c, error))
        return *error = "neither JSON, GeoJSON nor skorvan-facilities' CSV: " + *error, false;
    CsvRecord record;
    while (Csv_Next(&reader, &record, error)) {
        MapFacilityText entry;
        double* numbers[] = {&entry.latitude, &entry.longitude, &entry.altitude, &entry.frequency};
        for (int i = 0; i < 4; ++i) {
            std::string why;
            if (!Number_Read(Csv_Field(record, c[2 + i]), numbers[i], &why))
                return *error = Csv_Where(reader, record, c[2 + i]) + " " + why, false;
        }
        entry.kind = Csv_Field(record, c[0]);
        entry.ident = Csv_Field(record, c[1]);
        if (!MapFacilities_Add(db, entry, Csv_Where(reader, record), error))
            return false;
    }
    return error->empty();
}
