/* Keys or unkeys the running program's transmitter through the extension library, as a client
 * program does:  ptt_client LIBRARY 1|0.  Exits 0 when the program took the request, 2 when the
 * library or the program cannot be reached, 1 when the request was refused. */
#include "VekExtension.h"

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

typedef int (*InitFn)(void);
typedef int32_t (*PttFn)(int32_t);

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    InitFn init = (InitFn)dlsym(library, "ExtInit");
    PttFn ptt = (PttFn)dlsym(library, "ExtPTT");
    if (!init || !ptt || !init())
        return 2;
    return ptt(atoi(argv[2]) != 0 ? 1 : 0) == 0 ? 0 : 1;
}
