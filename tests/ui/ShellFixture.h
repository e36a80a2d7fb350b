#pragma once

// A fresh working folder, a scripted Interaction and a real main window for each shell test.

#include "core/store/DataStore.h"
#include "support/ScriptedInteraction.h"
#include "ui/common/Session.h"
#include "ui/shell/Background.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <optional>

namespace cs42::test {

struct ShellFixture
{
    QTemporaryDir dir;
    ScriptedInteraction interaction;
    Session session;
    std::unique_ptr<Background> background;

    ShellFixture()
    {
        session.interaction = &interaction;
        session.paths = DataStore::startUp(dir.path());
        session.today = [] {
            return QDate(2024, 3, 15);
        };
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

// What a modal dialog run by the next click showed, and whether it was answered.
struct ModalRun
{
    bool ran = false;
    QString title;
    QString initialText;
};

// Arms the answer to the next modal GetShort dialog: `text` typed over Text1 and Ok, or Cancel
// when `text` is nullopt. Run it right before the click that opens the dialog.
inline std::shared_ptr<ModalRun> answerGetShort(std::optional<QString> text)
{
    auto run = std::make_shared<ModalRun>();
    QTimer::singleShot(0, [run, text] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        run->title = dialog->windowTitle();
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
        run->initialText = edit ? edit->text() : QString();
        if (text && edit)
            edit->setText(*text);
        const char* button = text ? "Command1" : "Command2";
        if (auto* press = dialog->findChild<QPushButton*>(QLatin1String(button)))
            press->click();
        run->ran = true;
    });
    return run;
}

} // namespace cs42::test
