// Read by the thread sanitizer at start-up when this program is built with it; unused otherwise.
// Points it at the one list of suppressions, so a test program run by hand or by CTest is checked
// the same way (TSAN_OPTIONS, when set, still adds to or overrides this).
extern "C" const char* __tsan_default_options();

extern "C" const char* __tsan_default_options()
{
    return "suppressions=" SKORREL_TSAN_SUPPRESSIONS;
}
