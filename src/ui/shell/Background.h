#pragma once

#include "core/store/WindowPlacement.h"
#include "ui/common/WindowHost.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QApplication;
class QCloseEvent;
class QMenu;
class QScrollArea;

namespace cs42 {

struct Session;

// The main window: hosts one working window at a time (splash, case library, files location,
// names administration, worksheet) and carries the only menu bar.
class Background : public QMainWindow, public WindowHost
{
    Q_OBJECT

public:
    explicit Background(Session& session, QWidget* parent = nullptr);

    // The program's dialog font (MS Sans Serif stands as Liberation Sans).
    static void applyProgramFont(QApplication& app);

    void showSplash() override;
    void showCaseLibrary() override;
    void showWorksheet() override;
    void showNamesAdmin() override;
    void showLocation() override;
    // CloseWindows: closes the hosted working window, if any.
    void closeWindows() override;

    void setMenuState(MenuState state) override;
    void setBackgroundColorIndex(int index) override;

    // The hosted working window, or nullptr.
    QWidget* hostedWindow() const { return m_hosted; }

    int backgroundColorIndex() const { return m_backgroundColorIndex; }

    // The quit sequence: asks, and on Yes writes the exit backups and ends the program.
    // Returns false when the user answered No.
    bool quitProgram();

    // Shows the window where it stood when the program last quit here (maximised when it was).
    void showAsPlaced();

    const WindowPlacement& placement() const { return m_placement; }

    // A menu item by its objectName (menuCaseLibrary, ..., menuQuitThisProgram), or nullptr.
    QAction* menuItem(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void host(QWidget* window);
    void toggleHighlighting();
    void produceWorksheet();
    void showHistory();
    void openReferenceDocument(const QString& path, const QString& title, const QString& missingText);

    Session& m_session;
    QScrollArea* m_area = nullptr;
    WindowPlacement m_placement;
    QPointer<QWidget> m_hosted;
    int m_backgroundColorIndex = -1;
    QList<QAction*> m_items; // every item on the menu bar except Quit
    QAction* m_showHide = nullptr;
    QAction* m_produce = nullptr;
    QAction* m_history = nullptr;
    QMenu* m_quitMenu = nullptr;
};

} // namespace cs42
