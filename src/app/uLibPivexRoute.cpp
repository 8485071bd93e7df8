// The program-wide message route. Used on the main thread only.
#include "app/uLibPivex.h"

#include "platform/Dialogs.h"

#include <QGuiApplication>

namespace {

class TDefaultMessageObject : public TMessageTarget {
public:
    void ShowMessageText(const QString& text) override { DefaultShowMessage(text); }
};

TMessageTarget& defaultTarget()
{
    static TDefaultMessageObject target;
    return target;
}

TMessageTarget*& route()
{
    static TMessageTarget* current = &defaultTarget();
    return current;
}

}  // namespace

void SetMessageRoute(TMessageTarget* target)
{
    route() = target;
}

TMessageTarget* CurrentMessageRoute()
{
    return route();
}

void RouteMessage(const QString& text)
{
    // An empty route (between a batch run's end and the batch dialog's return) drops the message.
    if (TMessageTarget* target = route())
        target->ShowMessageText(text);
}

void RestoreMessageRoute()
{
    route() = &defaultTarget();
}

void ClearMessageRoute()
{
    route() = nullptr;
}

void DefaultShowMessage(const QString& text)
{
    platform::dialogs().message(text, QGuiApplication::applicationDisplayName());
}
