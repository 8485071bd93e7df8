#include "batch/MainThreadStepper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <latch>

namespace {

const QEvent::Type StepEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// Releases its caller when destroyed: after it has run, or when Qt discards it undelivered, so
// the caller can never wait for a step that will not come.
class TStepEvent : public QEvent {
public:
    TStepEvent(const std::function<void()>& step, std::latch& done, bool& ran)
        : QEvent(StepEventType), Step(step), Done(done), Ran(ran)
    {
    }
    ~TStepEvent() override { Done.count_down(); }

    const std::function<void()>& Step;
    std::latch& Done;
    bool& Ran;
};

}  // namespace

bool TMainThreadStepper::Run(const std::function<void()>& step)
{
    if (QThread::currentThread() == thread()) {
        step();
        return true;
    }
    std::latch done(1);
    bool ran = false;
    auto* event = new TStepEvent(step, done, ran);
    Handoff.fetch_add(1, std::memory_order_release);
    QCoreApplication::postEvent(this, event);
    done.wait();
    return ran;
}

bool TMainThreadStepper::event(QEvent* event)
{
    // Acquired before the event is looked at: the poster wrote all of it.
    Handoff.load(std::memory_order_acquire);
    if (event->type() != StepEventType)
        return QObject::event(event);
    auto* stepEvent = static_cast<TStepEvent*>(event);
    stepEvent->Step();
    stepEvent->Ran = true;
    return true;
}
