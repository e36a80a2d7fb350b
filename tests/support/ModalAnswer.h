#pragma once

// Answers the next modal dialog from inside its own event loop, the only place a test can reach a
// dialog that exec() is running.
//
//     auto run = onNextModal([](QWidget* dialog) { ... });
//     QTest::mouseClick(button, Qt::LeftButton);   // opens the dialog; returns once it is closed
//     QVERIFY_ANSWERED(run);
//     QCOMPARE(run->title, ...);
//
// The answer polls until a modal dialog other than the one active when it was armed is shown (so
// an answer armed inside a dialog reaches the dialog nested in it), runs once, and closes the
// dialog if the answer left it open, so a failing test cannot hang on it. It gives up after a
// timeout, and its timer dies with it, so it never fires into a later test.

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace cs42::test {

class ModalAnswer
{
public:
    using Answer = std::function<void(QWidget*)>;
    static constexpr int defaultTimeoutMs = 5000;

    explicit ModalAnswer(int timeoutMs = defaultTimeoutMs)
        : m_timeoutMs(timeoutMs)
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
    }

    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    // Starts looking for the dialog.
    void arm(Answer answer)
    {
        m_answer = std::move(answer);
        m_before = QApplication::activeModalWidget();
        ran = false;
        timedOut = false;
        m_armed.start();
        m_poll.start();
    }

    // Stops looking: for a step that may or may not open a dialog.
    void disarm() { m_poll.stop(); }

    // Waits (running events) until the answer ran or the timeout passed; true when it ran.
    bool wait()
    {
        if (!ran && m_poll.isActive())
            (void)QTest::qWaitFor([this] { return ran || !m_poll.isActive(); },
                                  static_cast<int>(m_timeoutMs - m_armed.elapsed()) + 50);
        m_poll.stop();
        return ran;
    }

    QString failure() const
    {
        return QStringLiteral("no modal dialog was shown within %1 ms of arming its answer").arg(m_timeoutMs);
    }

    bool ran = false;
    bool timedOut = false;
    QString title; // of the dialog answered

private:
    void poll()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog == m_before) {
            if (m_armed.elapsed() > m_timeoutMs) {
                m_poll.stop();
                timedOut = true;
            }
            return;
        }
        // Once only, and not again while the answer runs nested event loops of its own.
        m_poll.stop();
        title = dialog->windowTitle();
        // Focus moves between the boxes only in the active window; the offscreen platform leaves
        // the window under the dialog active, where a desktop would activate the dialog.
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        if (!QTest::qWaitForWindowActive(dialog))
            qWarning("the dialog did not become the active window");
        QPointer<QWidget> guard(dialog);
        m_answer(dialog);
        ran = true;
        if (guard && QApplication::activeModalWidget() == guard)
            guard->close();
    }

    Answer m_answer;
    QPointer<QWidget> m_before;
    QElapsedTimer m_armed;
    QTimer m_poll;
    int m_timeoutMs;
};

// Arms `answer` for the next modal dialog (the one the next step opens).
[[nodiscard]] inline std::shared_ptr<ModalAnswer> onNextModal(ModalAnswer::Answer answer,
                                                              int timeoutMs = ModalAnswer::defaultTimeoutMs)
{
    auto run = std::make_shared<ModalAnswer>(timeoutMs);
    run->arm(std::move(answer));
    return run;
}

} // namespace cs42::test

// Fails the test when the armed answer found no dialog to answer.
#define QVERIFY_ANSWERED(run) QVERIFY2((run)->wait(), qPrintable((run)->failure()))
