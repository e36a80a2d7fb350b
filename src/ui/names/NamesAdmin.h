#pragma once

#include <QWidget>

namespace cs42 {

struct Session;
class WindowHost;

// The names directory outside any case. (Placeholder until the names windows are built.)
class NamesAdmin : public QWidget
{
    Q_OBJECT

public:
    NamesAdmin(Session& session, WindowHost& host, QWidget* parent = nullptr);

private:
    Session& m_session;
    WindowHost& m_host;
};

} // namespace cs42
