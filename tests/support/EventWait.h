#pragma once

// Runs the program's events until a condition holds, for tests and benchmarks that link neither
// Qt Test nor a widget (QTest::qWaitFor needs the former). Qt Core only.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace cs42::test {

// Runs the events until `done` holds (checked every millisecond) or `ms` have passed; whether it
// holds.
inline bool runEventsUntil(const std::function<bool()>& done, int ms)
{
    QEventLoop loop;
    QTimer check;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || waited.elapsed() >= ms)
            loop.quit();
    });
    check.start(1);
    if (!done())
        loop.exec();
    return done();
}

} // namespace cs42::test
