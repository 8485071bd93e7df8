// Picked up by the thread sanitizer when this program is built with it; unused otherwise.
//
// Qt is not built with the sanitizer and its own locks are futexes the sanitizer cannot see, so
// memory Qt hands between threads inside itself (the thread pool the raster engine paints with,
// QThread's wait condition, queued signal events) reads as racing. Only calls made from within
// Qt's libraries are ignored; every access our own code makes stays checked.
extern "C" const char* __tsan_default_suppressions();

extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n";
}
