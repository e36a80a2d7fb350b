#pragma once

#include <QWidget>

namespace cs42 {

struct Session;
class WindowHost;

// "Worksheet A, Child Support Obligation, Sole Custody": the worksheet of the current case.
// (Placeholder until the worksheet window is built.)
class FormCS42 : public QWidget
{
    Q_OBJECT

public:
    FormCS42(Session& session, WindowHost& host, QWidget* parent = nullptr);

    void ChangeFieldColors();
    void RecalculateWorksheet();
    void ProduceForm();

private:
    Session& m_session;
    WindowHost& m_host;
};

} // namespace cs42
