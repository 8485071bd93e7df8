/* A component library for the UnregisterInprocServer tests: its DllUnregisterServer appends a
   line to the file named by SKORREL_TEST_UNREGISTER_LOG, so the test sees that it was called. */
#include <stdio.h>
#include <stdlib.h>

long DllUnregisterServer(void)
{
    const char* log = getenv("SKORREL_TEST_UNREGISTER_LOG");
    FILE* file = log ? fopen(log, "a") : NULL;
    if (file) {
        fputs("unregistered\n", file);
        fclose(file);
    }
    return 0;
}
