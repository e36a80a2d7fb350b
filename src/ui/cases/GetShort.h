#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

namespace cs42 {

// The modal short-text dialog: a prompt, one text box limited to a maximum length, Ok and
// Cancel. The initial text's trimmed length is selected from its start.
class GetShort : public QDialog
{
    Q_OBJECT

public:
    GetShort(const QString& title,
             const QString& prompt,
             const QString& initial,
             int maxLength,
             QWidget* parent = nullptr);

    // The text as typed.
    QString text() const;

    // Runs the dialog: the text as typed on Ok (or Enter), nothing on Cancel.
    static std::optional<QString> getText(
        QWidget* parent, const QString& title, const QString& prompt, const QString& initial, int maxLength);

private:
    QLabel* m_prompt = nullptr;
    QLineEdit* m_text = nullptr;
};

} // namespace cs42
