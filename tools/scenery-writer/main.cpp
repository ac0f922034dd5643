// tools/scenery-writer/main.cpp
// skorvan-scenery-writer: writes a scenery tree of realistic size (or a
// small one) for the facility tools, the moving map and the benchmarks.
#include "writer_tool.h"

// An exception out of here (std::bad_alloc, or CLI11 refusing an option
// declared wrongly, a programming error; Cli_Parse catches the user's
// mistakes and the readers their input's) ends the program through
// std::terminate with a failing status.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    CLI::App app("Writes a scenery tree to try the facility tools and the moving map on.",
                 "skorvan-scenery-writer");
    WriterOptions options;
    WriterOptions_Add(app, &options);
    const int parsed = Cli_Parse(app, argc, argv);
    if (parsed >= 0)
        return parsed;
    std::string error;
    if (!WriterOptions_Check(&options, &error))
        return Cli_UsageFail(app.get_name(), error);
    const int status = Writer_Run(options, &error);
    return Cli_Finish(app, status == 0 ? 0 : Cli_Fail(app.get_name(), error));
}
