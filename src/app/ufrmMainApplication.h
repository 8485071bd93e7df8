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

// Connects `signal` of `sender` to a handler of `receiver` that takes no arguments, run guarded.
template <class Sender, class Signal, class Receiver>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver, void (Receiver::*handler)())
{
    return QObject::connect(sender, signal, receiver,
                            [receiver, handler] { RunGuarded([&] { (receiver->*handler)(); }); });
}

// The application object: any error that escapes an event handler is shown and the event loop
// keeps running.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};
