/* A window, or anything that takes posted messages, as seen by a library.
 *
 * Where a library would be handed a window handle it is handed a pointer to
 * this struct instead. The program's windows implement it over their event
 * queue; the command-line front-end and tests implement it with a plain queue.
 */
#ifndef VANTOREL_PLATFORM_MESSAGE_TARGET_H
#define VANTOREL_PLATFORM_MESSAGE_TARGET_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct VtMessageTarget {
    /* Thread-safe; queues msg for the target's thread (like PostMessage). */
    void (*post)(struct VtMessageTarget *self, uint32_t msg, intptr_t wparam, intptr_t lparam);
    /* Called on the target's own thread: deliver whatever is queued (like a message pump). */
    void (*pump)(struct VtMessageTarget *self);
    void *user;
} VtMessageTarget;

#ifdef __cplusplus
}
#endif

#endif
