/* examples/two-modules/reader.c
 * A module that reads the shared system state: it opens the system block
 * that the owning module created, copies the state out under the shared
 * mutex, and asks the owner, through the block's dispatcher, to change
 * the transponder code. */
#include "system_state.h"

#include <windows.h>

#include <skorvan/map.h>
#include <skorvan/sysblock.h>

#include <stdio.h>
#include <string.h>

static SystemBlock* g_block;
static MapContext g_context; /* zeroed; only its mutex is used here */

/* A copy taken under the mutex, so that it is consistent. */
static int ReadState(SystemState* copy) {
    if (!SystemBlock_Lock(&g_context))
        return 0;
    memcpy(copy, (char*)g_block->view + STATE_OFFSET, sizeof *copy);
    SystemBlock_Unlock(&g_context);
    return 1;
}

STATE_EXPORT int __cdecl Module_Start(void) {
    SystemState state;
    int32_t answer;
    g_block = SystemBlock_Open();
    g_context.systemMutex = CreateMutexA(NULL, FALSE, STATE_MUTEX_NAME);
    if (g_block == NULL || g_context.systemMutex == NULL || !ReadState(&state)) {
        printf("reader: cannot open the system block or its mutex\n");
        return 0;
    }
    printf("reader: read sequence %d, transponder %04d, altimeter %.2f inHg, heading bug %.0f, "
           "nearest %s\n",
           (int)state.sequence, (int)state.transponder, state.altimeterInHg, state.headingBugDeg,
           state.nearestAirport);
    /* No lock held here: the owner's dispatcher takes it itself. */
    answer = SystemBlock_Call(g_block, COMMAND_SET_TRANSPONDER, 7000, 0);
    if (!ReadState(&state)) {
        printf("reader: cannot take the system mutex\n");
        return 0;
    }
    printf("reader: asked for transponder 7000, dispatcher answered %d; now sequence %d, "
           "transponder %04d, owner's count %d\n",
           (int)answer, (int)state.sequence, (int)state.transponder,
           (int)SystemBlock_Call(g_block, COMMAND_GET_SEQUENCE, 0, 0));
    fflush(stdout);
    return 1;
}

STATE_EXPORT void __cdecl Module_Stop(void) {
    if (g_block != NULL)
        SystemBlock_Close(g_block);
    g_block = NULL;
    if (g_context.systemMutex != NULL)
        CloseHandle(g_context.systemMutex);
    g_context.systemMutex = NULL;
}
