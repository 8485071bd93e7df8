#pragma once

#include <QApplication>
#include <exception>
#include <utility>

// Shows the message of an error that no handler caught in a message box; the program goes on.
void ShowUncaughtError(const std::exception& error);

// Runs `handler`, showing any error it raises instead of letting it unwind through Qt.
template <class Handler>
void RunGuarded(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ShowUncaughtError(error);
    }
}

// The application object: any error that escapes an event handler is shown and the event loop
// keeps running.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};
