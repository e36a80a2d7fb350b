#pragma once

#include <QMainWindow>

namespace cs42 {

struct Session;

// The main window: hosts one working window at a time and carries the only menu bar.
class Background : public QMainWindow
{
    Q_OBJECT

public:
    explicit Background(Session& session, QWidget* parent = nullptr);

private:
    Session& m_session;
};

} // namespace cs42
