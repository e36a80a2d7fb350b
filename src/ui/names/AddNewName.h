#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace cs42 {

// "Add a New Name": adds one individual or firm to the names directory in `namesDbPath`. "Done"
// composes the display and sort forms and stores the new record; "Done" with no last name and no
// firm name closes without adding anything.
class AddNewName : public QDialog
{
    Q_OBJECT

public:
    explicit AddNewName(QString namesDbPath, QWidget* parent = nullptr);

    // Shows the dialog modally and returns the key of the record it added: nothing when "Done"
    // found no name, or when the record could not be stored (`failure` then says why).
    static std::optional<QString>
    add(const QString& namesDbPath, QWidget* parent, QString* failure = nullptr);

    const std::optional<QString>& addedKey() const { return m_addedKey; }

    // Why the new record could not be stored, or empty. The dialog itself tells nothing.
    const QString& failure() const { return m_failure; }

private:
    void addName();

    QString m_namesDbPath;
    QLineEdit* m_firstName;
    QLineEdit* m_middleName;
    QLineEdit* m_lastName;
    QLineEdit* m_suffix;
    QLineEdit* m_firmName;
    QPushButton* m_done;
    std::optional<QString> m_addedKey;
    QString m_failure;
};

} // namespace cs42
