#include "TestEnv.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

namespace testenv {

QString fixture(const QString& name)
{
    return QDir(QStringLiteral(SKORREL_FIXTURES)).filePath(name);
}

QString skorrelBinary()
{
    return QStringLiteral(SKORREL_BINARY);
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::yieldCurrentThread();
    }
    return true;
}

}  // namespace testenv
