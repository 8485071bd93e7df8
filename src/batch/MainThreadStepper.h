#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>

// Runs steps on the thread it lives in (the main thread) for callers on another thread, each
// caller waiting until its step has run: a blocking queued call. The hand-over is written with
// standard atomics rather than left to Qt's own semaphore, so the thread sanitizer can see that
// everything before a step happens before it, and everything in it before the caller goes on.
class TMainThreadStepper : public QObject {
public:
    using QObject::QObject;

    // Runs `step` at once when called on the stepper's own thread. False when the step was
    // discarded undelivered (the application is shutting down).
    bool Run(const std::function<void()>& step);

protected:
    bool event(QEvent* event) override;

private:
    std::atomic<uint64_t> Handoff{0};
};
