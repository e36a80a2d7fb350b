#include "support/ScriptedInteraction.h"

#include <QPrinter>
#include <QTest>

#include <gtest/gtest.h>

namespace cs42::test {

namespace {
QString kindName(ScriptedInteraction::Kind kind)
{
    switch (kind) {
    case ScriptedInteraction::Kind::Inform:
        return QStringLiteral("message");
    case ScriptedInteraction::Kind::Ask:
        return QStringLiteral("question");
    case ScriptedInteraction::Kind::Input:
        return QStringLiteral("input box");
    case ScriptedInteraction::Kind::Password:
        return QStringLiteral("password box");
    case ScriptedInteraction::Kind::Choose:
        return QStringLiteral("list");
    case ScriptedInteraction::Kind::SaveFile:
        return QStringLiteral("file dialog");
    case ScriptedInteraction::Kind::Print:
        return QStringLiteral("print dialog");
    }
    return {};
}

// Reports a failure to whichever framework runs the test.
void reportFailure(const QString& message)
{
    if (::testing::UnitTest::GetInstance()->current_test_info() != nullptr)
        ADD_FAILURE() << message.toStdString();
    else
        QTest::qFail(message.toUtf8().constData(), __FILE__, __LINE__);
}
} // namespace

void ScriptedInteraction::expectInform(const QString& title, const QString& text)
{
    m_expected.append({Kind::Inform, title, text, Answer::No, std::nullopt});
}

void ScriptedInteraction::expectAsk(Answer answer, const QString& title, const QString& text)
{
    m_expected.append({Kind::Ask, title, text, answer, std::nullopt});
}

void ScriptedInteraction::expectInput(std::optional<QString> answer,
                                      const QString& title,
                                      const QString& prompt)
{
    m_expected.append({Kind::Input, title, prompt, Answer::No, std::move(answer)});
}

void ScriptedInteraction::expectPassword(std::optional<QString> answer,
                                         const QString& title,
                                         const QString& prompt)
{
    m_expected.append({Kind::Password, title, prompt, Answer::No, std::move(answer)});
}

void ScriptedInteraction::expectChoice(std::optional<int> answer, const QString& title, const QString& prompt)
{
    m_expected.append({Kind::Choose, title, prompt, Answer::No, std::nullopt, answer});
}

void ScriptedInteraction::expectSaveFileName(std::optional<QString> answer,
                                             const QString& title,
                                             const QString& suggestedName)
{
    m_expected.append({Kind::SaveFile, title, suggestedName, Answer::No, std::move(answer)});
}

void ScriptedInteraction::expectPrint(std::optional<QString> outputFile, int fromPage, int toPage)
{
    m_expected.append({Kind::Print,
                       QString(),
                       QString(),
                       Answer::No,
                       std::move(outputFile),
                       std::nullopt,
                       fromPage,
                       toPage});
}

std::optional<ScriptedInteraction::Expected>
ScriptedInteraction::take(Kind kind, const QString& title, const QString& text)
{
    prompts.append({kind, title, text});
    if (onPrompt)
        onPrompt(prompts.last());
    QString failure;
    if (m_expected.isEmpty()) {
        failure = QStringLiteral("Unexpected %1: [%2] %3").arg(kindName(kind), title, text);
    } else {
        const Expected& next = m_expected.first();
        if (next.kind != kind)
            failure = QStringLiteral("Expected a %1 but got a %2: [%3] %4")
                          .arg(kindName(next.kind), kindName(kind), title, text);
        else if (!next.title.isEmpty() && next.title != title)
            failure = QStringLiteral("Expected title [%1] but got [%2]").arg(next.title, title);
        else if (!next.text.isEmpty() && next.text != text)
            failure = QStringLiteral("Expected text\n[%1]\nbut got\n[%2]").arg(next.text, text);
    }
    if (!failure.isEmpty()) {
        failures.append(failure);
        reportFailure(failure);
        return std::nullopt;
    }
    return m_expected.takeFirst();
}

void ScriptedInteraction::inform(QWidget*, const QString& title, const QString& text, Icon)
{
    take(Kind::Inform, title, text);
}

Interaction::Answer ScriptedInteraction::ask(QWidget*, const QString& title, const QString& text, Icon)
{
    const auto expected = take(Kind::Ask, title, text);
    return expected ? expected->answer : Answer::No;
}

std::optional<QString>
ScriptedInteraction::inputText(QWidget*, const QString& title, const QString& prompt, const QString& initial)
{
    inputInitialTexts.append(initial);
    const auto expected = take(Kind::Input, title, prompt);
    return expected ? expected->input : std::nullopt;
}

std::optional<QString>
ScriptedInteraction::inputPassword(QWidget*, const QString& title, const QString& prompt)
{
    const auto expected = take(Kind::Password, title, prompt);
    return expected ? expected->input : std::nullopt;
}

std::optional<int> ScriptedInteraction::chooseItem(
    QWidget*, const QString& title, const QString& prompt, const QStringList& items, int current)
{
    offeredItems.append(items);
    itemsChosenAtFirst.append(current);
    const auto expected = take(Kind::Choose, title, prompt);
    return expected ? expected->choice : std::nullopt;
}

bool ScriptedInteraction::openDocument(const QString& path)
{
    openedDocuments.append(path);
    return openDocumentResult;
}

bool ScriptedInteraction::showDocument(QWidget* parent, const QString& path, const PreviewOptions& options)
{
    shownDocuments.append({path, options});
    return onShowDocument ? onShowDocument(parent, path, options) : showDocumentResult;
}

std::optional<QString> ScriptedInteraction::saveFileName(
    QWidget*, const QString& title, const QString& folder, const QString& suggestedName, const QString&)
{
    saveFolders.append(folder);
    const auto expected = take(Kind::SaveFile, title, suggestedName);
    return expected ? expected->input : std::nullopt;
}

std::unique_ptr<QPrinter> ScriptedInteraction::choosePrinter(QWidget*, int pageCount)
{
    const auto expected = take(Kind::Print, QString(), QString::number(pageCount));
    if (!expected || !expected->input)
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(*expected->input);
    printer->setResolution(72);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    if (expected->fromPage > 0) {
        printer->setPrintRange(QPrinter::PageRange);
        printer->setFromTo(expected->fromPage, expected->toPage);
    }
    return printer;
}

bool ScriptedInteraction::copyText(const QString& text)
{
    clipboard = text;
    ++copies;
    return true;
}

void ScriptedInteraction::endProgram(int code)
{
    ended = true;
    exitCode = code;
}

} // namespace cs42::test
