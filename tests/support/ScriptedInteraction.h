#pragma once

#include "ui/common/Interaction.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace cs42::test {

// An Interaction that tests script: each expected prompt is queued with its answer; every prompt
// is recorded with its exact title and text. A prompt that was not expected fails the current
// test (QTest or GoogleTest, whichever runs) and is answered No / Cancel.
class ScriptedInteraction : public Interaction
{
public:
    enum class Kind
    {
        Inform,
        Ask,
        Input,
        Password, // an input box that hides what is typed
        Choose,
        SaveFile, // the file dialog of a save; the prompt's text is the name it suggests
        Print,    // the print dialog; the prompt's text is the number of pages
    };

    struct Prompt
    {
        Kind kind;
        QString title;
        QString text;
    };

    // Queues the next expected prompt. An empty expected title or text matches anything.
    void expectInform(const QString& title = {}, const QString& text = {});
    void expectAsk(Answer answer, const QString& title = {}, const QString& text = {});
    void expectInput(std::optional<QString> answer, const QString& title = {}, const QString& prompt = {});
    // The answer of a password box: the password typed, nullopt for Cancel.
    void expectPassword(std::optional<QString> answer, const QString& title = {}, const QString& prompt = {});
    // The answer of a list: the index chosen, nullopt for Cancel. The items offered are recorded.
    void expectChoice(std::optional<int> answer, const QString& title = {}, const QString& prompt = {});
    // The answer of a save's file dialog: the path chosen, nullopt for Cancel.
    void expectSaveFileName(std::optional<QString> answer,
                            const QString& title = {},
                            const QString& suggestedName = {});
    // The answer of the print dialog: a printer that writes a PDF file at `outputFile` on letter
    // paper (at a low resolution, so tests stay fast), printing pages `fromPage` to `toPage` (0: every page);
    // nullopt for Cancel.
    void expectPrint(std::optional<QString> outputFile, int fromPage = 0, int toPage = 0);

    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::None) override;
    Answer ask(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::None) override;
    std::optional<QString>
    inputText(QWidget* parent, const QString& title, const QString& prompt, const QString& initial) override;
    std::optional<QString>
    inputPassword(QWidget* parent, const QString& title, const QString& prompt) override;
    std::optional<int> chooseItem(QWidget* parent,
                                  const QString& title,
                                  const QString& prompt,
                                  const QStringList& items,
                                  int current) override;
    bool openDocument(const QString& path) override;
    bool showDocument(QWidget* parent, const QString& path, const PreviewOptions& options) override;
    std::optional<QString> saveFileName(QWidget* parent,
                                        const QString& title,
                                        const QString& folder,
                                        const QString& suggestedName,
                                        const QString& filter) override;
    std::unique_ptr<QPrinter> choosePrinter(QWidget* parent, int pageCount) override;
    bool copyText(const QString& text) override;
    void endProgram(int exitCode = 0) override;

    // Runs as each prompt is shown, before it is answered (what a user does meanwhile).
    std::function<void(const Prompt&)> onPrompt;

    // What happened.
    QList<Prompt> prompts;
    QStringList openedDocuments;
    QStringList inputInitialTexts;
    QList<QStringList> offeredItems;
    QList<int> itemsChosenAtFirst; // each list's `current`, the item Enter takes
    QString clipboard;
    int copies = 0;
    bool ended = false;
    int exitCode = 0;
    bool openDocumentResult = true;

    // The documents shown in the preview, with how; showDocument answers showDocumentResult, or
    // what onShowDocument does with the document (a test may show the real window there).
    struct ShownDocument
    {
        QString path;
        PreviewOptions options;
    };

    QList<ShownDocument> shownDocuments;
    bool showDocumentResult = true;
    std::function<bool(QWidget*, const QString&, const PreviewOptions&)> onShowDocument;

    // The folder each save's file dialog opened in.
    QStringList saveFolders;

    // True when every queued expectation has been met.
    bool allExpectationsMet() const { return m_expected.isEmpty(); }

    // Mismatches and unexpected prompts, for diagnostics.
    QStringList failures;

private:
    struct Expected
    {
        Kind kind;
        QString title;
        QString text;
        Answer answer = Answer::No;
        std::optional<QString> input; // also the path of a save and the output of a print
        std::optional<int> choice = std::nullopt;
        int fromPage = 0;
        int toPage = 0;
    };

    std::optional<Expected> take(Kind kind, const QString& title, const QString& text);

    QList<Expected> m_expected;
};

} // namespace cs42::test
