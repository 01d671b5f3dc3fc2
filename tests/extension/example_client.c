/* An example client of libVekExtension.so: loads the library, finds the running program, reads
 * frequency, mode and S-meter, registers for notifications, sets a frequency, reads it back and
 * prints the notifications that follow.
 *
 *   extension_example_client [LIBRARY [FREQUENCY_HZ]]
 *
 * Exits with 0 when the frequency read back is the one set and the change was announced, 1 when
 * the read-back differs, 3 when no announcement came, 2 when the library or the program cannot be
 * reached. */
#include "VekExtension.h"

#include <dlfcn.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>

typedef int (*InitFn)(void);
typedef int32_t (*GetFn)(void);
typedef int32_t (*SetFn)(int32_t);
typedef int32_t (*RegisterFn)(uint64_t);
typedef int (*DispatchFn)(ExtNotificationCallback, void*);

struct Seen {
    int count;
    int frequencyTold;
};

static void OnNotification(uint64_t token, int32_t code, int32_t value, void* user)
{
    struct Seen* seen = (struct Seen*)user;
    printf("notification token %llu code %d value %d\n", (unsigned long long)token, (int)code,
           (int)value);
    ++seen->count;
    if (code == 0)
        seen->frequencyTold = 1;
}

static void* Need(void* library, const char* name)
{
    void* symbol = dlsym(library, name);
    if (!symbol)
        fprintf(stderr, "missing %s\n", name);
    return symbol;
}

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "libVekExtension.so";
    const int32_t wanted = argc > 2 ? (int32_t)atol(argv[2]) : 14070000;
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    InitFn init = (InitFn)Need(library, "ExtInit");
    GetFn getFrequency = (GetFn)Need(library, "ExtGetFrequency");
    SetFn setFrequency = (SetFn)Need(library, "ExtSetFrequency");
    GetFn getMode = (GetFn)Need(library, "ExtGetMode");
    GetFn getSignal = (GetFn)Need(library, "ExtGetSignal");
    RegisterFn setHwnd = (RegisterFn)Need(library, "ExtSetHwnd");
    DispatchFn dispatch = (DispatchFn)Need(library, "ExtDispatchNotifications");
    if (!init || !getFrequency || !setFrequency || !getMode || !getSignal || !setHwnd || !dispatch)
        return 2;

    if (!init()) {
        fprintf(stderr, "the program is not running\n");
        return 2;
    }
    printf("frequency %d mode %d signal %d\n", (int)getFrequency(), (int)getMode(),
           (int)getSignal());

    const uint64_t token = 706;
    if (setHwnd(token) != 0)
        fprintf(stderr, "registration failed\n");
    struct Seen seen = {0, 0};
    int fd = dispatch(OnNotification, &seen);

    printf("set %d: %d\n", (int)wanted, (int)setFrequency(wanted));
    const int32_t back = getFrequency();
    printf("read back %d\n", (int)back);

    /* The program tells the new frequency to its registered clients. */
    while (fd >= 0 && !seen.frequencyTold) {
        struct pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0)
            break;
        fd = dispatch(OnNotification, &seen);
    }
    printf("%d notification(s)\n", seen.count);
    dlclose(library);
    if (back != wanted)
        return 1;
    return seen.frequencyTold ? 0 : 3;
}
