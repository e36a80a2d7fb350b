#pragma once

#include <QWidget>

class QLabel;

namespace cs42 {

struct Session;
class WindowHost;

// The first window the user sees, shown again by "About". A click on the picture or on any of
// its texts, Enter or Space leads to the case library; Esc, before the case library first opened,
// opens File Utilities, and afterwards leads to the case library too.
class Splash : public QWidget
{
    Q_OBJECT

public:
    Splash(Session& session, WindowHost& host, QWidget* parent = nullptr);

    // The splash picture, drawn by the program itself.
    static QPixmap picture(const QSize& size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Session& m_session;
    WindowHost& m_host;
    QList<QLabel*> m_clickable;
};

} // namespace cs42
