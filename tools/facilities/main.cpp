// tools/facilities/main.cpp
// skorvan-facilities: reads one scenery file or a whole scenery root with
// the facility reader and prints the records as JSON, CSV or GeoJSON, or
// the facilities near a position.
#include "facilities_tool.h"

// An exception out of here (std::bad_alloc, or CLI11 refusing an option
// declared wrongly, a programming error; Cli_Parse catches the user's
// mistakes and the readers their input's) ends the program through
// std::terminate with a failing status.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    CLI::App app("Prints the facilities of scenery files as JSON, CSV or GeoJSON.",
                 "skorvan-facilities");
    FacilitiesOptions options;
    FacilitiesOptions_Add(app, &options);
    const int parsed = Cli_Parse(app, argc, argv);
    if (parsed >= 0)
        return parsed;
    std::string error;
    if (!FacilitiesOptions_Check(&options, &error))
        return Cli_UsageFail(app.get_name(), error);
    const int status = Facilities_Run(options, &error);
    return Cli_Finish(app, status == 0 ? 0 : Cli_Fail(app.get_name(), error));
}
