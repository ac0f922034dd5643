/* examples/two-modules/writer.c
 * The module that owns the shared system state: it opens (creating) the
 * system block, writes the state under the shared mutex and installs the
 * dispatcher through which other modules ask it for changes. */
#include "system_state.h"

#include <windows.h>

#include <skorvan/map.h>
#include <skorvan/sysblock.h>

#include <stdio.h>
#include <string.h>

static SystemBlock* g_block;
static MapContext g_context; /* zeroed; only its mutex is used here */

static SystemState* State(void* blockStart) {
    return (SystemState*)((char*)blockStart + STATE_OFFSET);
}

/* Runs in the caller's module, on its thread, with the block's start as
 * the library hands it over. */
static int32_t Dispatch(void* blockStart, int32_t command, int32_t value, int32_t unused) {
    SystemState* state = State(blockStart);
    (void)unused;
    switch (command) {
    case COMMAND_GET_SEQUENCE:
        return state->sequence;
    case COMMAND_SET_TRANSPONDER:
        if (!SystemBlock_Lock(&g_context))
            return 0;
        state->transponder = value;
        state->sequence += 1;
        SystemBlock_Unlock(&g_context);
        return 1;
    default:
        return -1;
    }
}

STATE_EXPORT int __cdecl Module_Start(void) {
    SystemState* state;
    SystemDispatchFn dispatch = Dispatch;
    g_block = SystemBlock_Open();
    if (g_block == NULL) {
        printf("writer: cannot open the system block\n");
        return 0;
    }
    /* One named mutex for every module of the process: each opens it by name. */
    g_context.systemMutex = CreateMutexA(NULL, FALSE, STATE_MUTEX_NAME);
    if (g_context.systemMutex == NULL || !SystemBlock_Lock(&g_context)) {
        printf("writer: cannot take the system mutex\n");
        return 0;
    }
    state = State(g_block->view);
    state->sequence += 1;
    state->transponder = 2000;
    state->altimeterInHg = 29.92;
    state->headingBugDeg = 274.0;
    strcpy(state->nearestAirport, "LSZH");
    /* The dispatcher's address goes right after the block's first word. */
    memcpy((char*)g_block->view + 4, &dispatch, sizeof dispatch);
    SystemBlock_Unlock(&g_context);
    printf("writer: wrote sequence %d, transponder %04d, altimeter %.2f inHg, heading bug %.0f, "
           "nearest %s\n",
           (int)state->sequence, (int)state->transponder, state->altimeterInHg,
           state->headingBugDeg, state->nearestAirport);
    fflush(stdout);
    return 1;
}

STATE_EXPORT void __cdecl Module_Stop(void) {
    if (g_block != NULL) {
        /* Nobody may call into this module once it is gone. */
        if (SystemBlock_Lock(&g_context)) {
            memset((char*)g_block->view + 4, 0, sizeof(SystemDispatchFn));
            SystemBlock_Unlock(&g_context);
        }
        SystemBlock_Close(g_block);
        g_block = NULL;
    }
    if (g_context.systemMutex != NULL)
        CloseHandle(g_context.systemMutex);
    g_context.systemMutex = NULL;
}
