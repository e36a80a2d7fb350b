#pragma once

#include "core/store/ServerLocation.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace cs42 {

struct Session;

// "PostgreSQL Server": the server, port, database and user of an office's PostgreSQL database
// that is to hold the cases and names. Ok tries the server at once (asking for its password when
// it wants one) and makes its tables; while that fails the dialog says why and stays open for
// correction. It opens with the current location when that is a server.
class ServerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ServerDialog(Session& session, QWidget* parent = nullptr);

    static QString title();

    // The server as the boxes name it, the texts trimmed; an empty port is the default one.
    ServerLocation server() const;

    // Runs the dialog: the server reached and ready for the cases and names, nullopt on Cancel.
    static std::optional<ServerLocation> choose(Session& session, QWidget* parent);

private:
    void tryServer();
    // What the user must fill in before the server is tried; empty when every box is usable.
    QString missingEntry(QLineEdit** box) const;
    void warn(const QString& text);

    Session& m_session;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_user = nullptr;
};

} // namespace cs42
