#pragma once

#include "ui/common/Interaction.h"

namespace cs42 {

// The real Interaction: Qt message boxes, input, file and print dialogs, the program's preview
// window, the desktop's viewer and clipboard.
class QtInteraction : public Interaction
{
public:
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
};

} // namespace cs42
