#include "app/ufrmMainApplication.h"

#include "platform/AppError.h"
#include "platform/Dialogs.h"

void ShowUncaughtError(const std::exception& error)
{
    const auto* appError = dynamic_cast<const AppError*>(&error);
    platform::dialogs().message(appError ? appError->message() : QString::fromLocal8Bit(error.what()));
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
