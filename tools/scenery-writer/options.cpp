// tools/scenery-writer/options.cpp
// skorvan-scenery-writer's options: declared for CLI11, then checked.
#include "writer_tool.h"

#include "number.h"

static const char FOOTER[] =
    "Writes ROOT/SCENEDB/EASTHEM, WESTHEM and AFDFILES/SCENERY with about 3,000 VORs,\n"
    "5,000 NDBs and 20,000 airports with 30,000 runways (--small: a hundredth). A tree\n"
    "this tool wrote before is replaced; a SCENEDB it did not write is left alone.\n"
    "Exit status: 0 written, 1 a file could not be written or ROOT was refused, 2 a usage "
    "error.\n";

void WriterOptions_Add(CLI::App& app, WriterOptions* o) {
    app.footer(FOOTER);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("ROOT", o->root, "The folder to write the tree (or the samples) into")
        ->required();
    app.add_flag("--small", o->small, "A hundredth of the tree");
    app.add_option("--seed", o->seed, "Another tree of the same size (a whole number)");
    app.add_flag("--samples", o->samples, "A few small files into the folder ROOT instead");
    Cli_AddStandard(app, &o->quiet);
}

bool WriterOptions_Check(WriterOptions* o, std::string* error) {
    if (o->root.empty())
        return *error = "ROOT is empty", false;
    if (o->seed.empty())
        return true;
    long long value = 0;
    if (!Number_ReadWhole(o->seed, 0, 0xFFFFFFFFll, &value))
        return *error =
                   "--seed needs a whole number from 0 to 4294967295, not " + Cli_Echo(o->seed),
               false;
    o->seedValue = static_cast<unsigned>(value);
    return true;
}
