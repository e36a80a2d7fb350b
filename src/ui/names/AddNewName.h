#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace cs42 {

struct Session;

// "Add a New Name": adds one individual or firm to the names directory. "Done" composes the
// display and sort forms, stores the new record and leaves its key in session.currentNameKey,
// which the calling window takes as the sign that a record was added. "Done" with no last name
// and no firm name closes without adding anything.
class AddNewName : public QDialog
{
    Q_OBJECT

public:
    explicit AddNewName(Session& session, QWidget* parent = nullptr);

    // Why the new record could not be stored, or empty. The dialog itself tells nothing.
    const QString& failure() const { return m_failure; }

private:
    void addName();

    Session& m_session;
    QLineEdit* m_firstName;
    QLineEdit* m_middleName;
    QLineEdit* m_lastName;
    QLineEdit* m_suffix;
    QLineEdit* m_firmName;
    QPushButton* m_done;
    QString m_failure;
};

} // namespace cs42
