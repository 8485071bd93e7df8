#include "platform/Dialogs.h"

#include "platform/QtDialogs.h"

namespace platform {

namespace {

Dialogs& qtDialogs()
{
    static QtDialogs instance;
    return instance;
}

Dialogs*& current()
{
    static Dialogs* inUse = &qtDialogs();
    return inUse;
}

}  // namespace

Dialogs& dialogs()
{
    return *current();
}

Dialogs* setDialogs(Dialogs* replacement)
{
    Dialogs* previous = current();
    current() = replacement != nullptr ? replacement : &qtDialogs();
    return previous;
}

}  // namespace platform
