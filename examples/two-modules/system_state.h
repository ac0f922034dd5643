/* examples/two-modules/system_state.h
 * The layout both modules agree on for their part of the shared system
 * block, the name of the mutex that guards it, and the dispatcher's
 * commands. The block's first bytes are the library's (its first word,
 * then the dispatcher's address); this state starts after them. */
#ifndef SYSTEM_STATE_H
#define SYSTEM_STATE_H

#include <stdint.h>

#define STATE_OFFSET 16 /* past the first word and a 64-bit dispatcher address */
#define STATE_MUTEX_NAME "SkorvanExampleSystemState"

/* Asked through SystemBlock_Call(block, command, value, 0). */
enum { COMMAND_GET_SEQUENCE = 1, COMMAND_SET_TRANSPONDER = 2 };

typedef struct SystemState {
    int32_t sequence;     /* counts the owner's writes */
    int32_t transponder;  /* squawk code, octal digits as decimal: 7000 */
    double altimeterInHg; /* the altimeter setting */
    double headingBugDeg;
    char nearestAirport[8];
} SystemState;

#define STATE_EXPORT __declspec(dllexport)

/* Each module's entry points, as the simulator (here the host) calls them. */
typedef int(__cdecl* ModuleStartFn)(void);
typedef void(__cdecl* ModuleStopFn)(void);

#endif
