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
        Choose,
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
    // The answer of a list: the index chosen, nullopt for Cancel. The items offered are recorded.
    void expectChoice(std::optional<int> answer, const QString& title = {}, const QString& prompt = {});

    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::None) override;
    Answer ask(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::None) override;
    std::optional<QString>
    inputText(QWidget* parent, const QString& title, const QString& prompt, const QString& initial) override;
    std::optional<int> chooseItem(QWidget* parent,
                                  const QString& title,
                                  const QString& prompt,
                                  const QStringList& items,
                                  int current) override;
    bool openDocument(const QString& path) override;
    bool copyText(const QString& text) override;
    void endProgram(int exitCode = 0) override;

    // Runs as each prompt is shown, before it is answered (what a user does meanwhile).
    std::function<void(const Prompt&)> onPrompt;

    // What happened.
    QList<Prompt> prompts;
    QStringList openedDocuments;
    QStringList inputInitialTexts;
    QList<QStringList> offeredItems;
    QString clipboard;
    int copies = 0;
    bool ended = false;
    int exitCode = 0;
    bool openDocumentResult = true;

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
        std::optional<QString> input;
        std::optional<int> choice = std::nullopt;
    };

    std::optional<Expected> take(Kind kind, const QString& title, const QString& text);

    QList<Expected> m_expected;
};

} // namespace cs42::test
