#pragma once

// A session fixture with a real main window, for each shell test.

#include "support/ModalAnswer.h"
#include "support/SessionFixture.h"
#include "ui/shell/Background.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <memory>
#include <optional>

namespace cs42::test {

struct ShellFixture : SessionFixture
{
    std::unique_ptr<Background> background;

    ShellFixture()
    {
        background = std::make_unique<Background>(session);
        background->show();
    }

    ~ShellFixture()
    {
        background.reset();
        // Windows closed by CloseWindows wait for deletion; let them go before the session does.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T> T* hosted() const { return qobject_cast<T*>(background->hostedWindow()); }

    QAction* item(const char* name) const { return background->menuItem(QLatin1String(name)); }

    template <typename T = QWidget> T* control(const char* name) const
    {
        QWidget* window = background->hostedWindow();
        return window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    }
};

// The GetShort dialog's answer, and the text its box showed before it was answered.
struct GetShortAnswer : ModalAnswer
{
    QString initialText;
};

// Arms the answer to the next modal GetShort dialog: `text` typed over Text1 and Ok, or Cancel
// when `text` is nullopt. Run it right before the click that opens the dialog.
[[nodiscard]] inline std::shared_ptr<GetShortAnswer> answerGetShort(std::optional<QString> text)
{
    auto run = std::make_shared<GetShortAnswer>();
    GetShortAnswer* self = run.get();
    run->arm([self, text](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
        self->initialText = edit ? edit->text() : QString();
        if (text && edit)
            edit->setText(*text);
        const char* button = text ? "Command1" : "Command2";
        if (auto* press = dialog->findChild<QPushButton*>(QLatin1String(button)))
            press->click();
    });
    return run;
}

} // namespace cs42::test
