#pragma once

namespace cs42 {

// Which menu items a window that loads leaves enabled.
enum class MenuState
{
    QuitOnly,     // splash: every item but Quit disabled
    LibraryMenus, // case library: all but "Show/Hide Highlighting" and "Produce Worksheet"
    AllMenus,     // worksheet: everything
};

// What a hosted working window may ask of the main window. Every "show" first closes the hosted
// window (CloseWindows), so at most one is open at a time.
class WindowHost
{
public:
    virtual ~WindowHost() = default;

    virtual void showSplash() = 0;
    virtual void showCaseLibrary() = 0;
    virtual void showWorksheet() = 0;
    virtual void showNamesAdmin() = 0;
    virtual void showLocation() = 0;
    virtual void closeWindows() = 0;

    virtual void setMenuState(MenuState state) = 0;
    // Background colour of the main window's area, a classic 16-colour palette index.
    virtual void setBackgroundColorIndex(int index) = 0;
};

} // namespace cs42
