// tools/map/main.cpp
// skorvan-map: draws the moving map around a position to a PNG or SVG
// picture, with the facilities of a scenery folder or of skorvan-facilities'
// output, a route and traffic.
#include "map_tool.h"

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
        return Cli_UsageFail(app.get_name(), error);
    const int status = Map_Run(options, &error);
    return Cli_Finish(app, status == 0 ? 0 : Cli_Fail(app.get_name(), error));
}
