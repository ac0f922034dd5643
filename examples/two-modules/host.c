/* examples/two-modules/host.c
 * Stands in for the simulator: loads the module DLLs named on its command
 * line into its one process, starts them in that order, then stops and
 * unloads them in reverse, as the simulator does with its modules.
 *
 *   modules-host MODULE.dll [MODULE.dll ...] */
#include "system_state.h"

#include <windows.h>

#include <stdio.h>

#define MAX_MODULES 8

int main(int argc, char** argv) {
    HMODULE modules[MAX_MODULES];
    ModuleStopFn stops[MAX_MODULES];
    int count = 0, status = 0, i;

    if (argc < 2 || argc - 1 > MAX_MODULES) {
        fprintf(stderr, "usage: modules-host MODULE.dll [MODULE.dll ...] (at most %d)\n",
                MAX_MODULES);
        return 2;
    }
    for (i = 1; i < argc && status == 0; ++i) {
        ModuleStartFn start;
        HMODULE module = LoadLibraryA(argv[i]);
        if (module == NULL) {
            fprintf(stderr, "cannot load %s (error %lu)\n", argv[i], (unsigned long)GetLastError());
            status = 1;
            break;
        }
        start = (ModuleStartFn)(void (*)(void))GetProcAddress(module, "Module_Start");
        stops[count] = (ModuleStopFn)(void (*)(void))GetProcAddress(module, "Module_Stop");
        modules[count++] = module;
        if (start == NULL || stops[count - 1] == NULL || !start()) {
            fprintf(stderr, "%s did not start\n", argv[i]);
            status = 1;
        }
    }
    while (count > 0) {
        --count;
        if (stops[count] != NULL)
            stops[count]();
        FreeLibrary(modules[count]);
    }
    return status;
}
