#pragma once

#include "ui/common/PreviewOptions.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace cs42 {

// Everything a window tells or asks the user, and every effect outside the program (viewer,
// clipboard, ending the run), goes through this interface, so that tests can answer it.
class Interaction
{
public:
    enum class Icon
    {
        None,
        Information,
        Warning,
        Critical,
    };
    enum class Answer
    {
        Yes,
        No,
    };

    virtual ~Interaction() = default;

    // A message box with an OK button. An empty title shows the program's default title.
    virtual void
    inform(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::None) = 0;
    // A Yes/No message box.
    virtual Answer
    ask(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::None) = 0;
    // An input box; nullopt on Cancel.
    virtual std::optional<QString>
    inputText(QWidget* parent, const QString& title, const QString& prompt, const QString& initial) = 0;

    // An input box that hides what is typed, for a password; nullopt on Cancel. An interaction
    // that cannot ask (a batch run) gives no password.
    virtual std::optional<QString> inputPassword(QWidget* parent, const QString& title, const QString& prompt)
    {
        (void)parent;
        (void)title;
        (void)prompt;
        return std::nullopt;
    }

    // A list to choose one item from, `current` chosen at first; the chosen index, nullopt on Cancel.
    virtual std::optional<int> chooseItem(QWidget* parent,
                                          const QString& title,
                                          const QString& prompt,
                                          const QStringList& items,
                                          int current) = 0;
    // Opens a document with the program associated with its type; false when nothing opened it.
    virtual bool openDocument(const QString& path) = 0;
    // Shows a PDF document in the program's own preview window (print, save a copy, open it in the
    // viewer) until the user closes it; false when the document cannot be shown there, and nothing
    // was shown.
    virtual bool showDocument(QWidget* parent, const QString& path, const PreviewOptions& options) = 0;
    // A file dialog for the name of a file to save, opened in `folder` with `suggestedName`; the
    // path chosen, nullopt on Cancel. It does not ask about replacing a file: the caller does.
    virtual std::optional<QString> saveFileName(QWidget* parent,
                                                const QString& title,
                                                const QString& folder,
                                                const QString& suggestedName,
                                                const QString& filter) = 0;
    // The print dialog for a document of `pageCount` pages: the printer as the user set it up
    // (pages, copies), null on Cancel.
    virtual std::unique_ptr<QPrinter> choosePrinter(QWidget* parent, int pageCount) = 0;
    // Puts plain text on the clipboard; false when the clipboard cannot take it.
    virtual bool copyText(const QString& text) = 0;
    // Ends the program at once, without questions or clean-up.
    virtual void endProgram(int exitCode = 0) = 0;
};

} // namespace cs42
