#pragma once

#include "ui/common/WindowHost.h"

namespace cs42::test {

// A main window stand-in for windows shown on their own: it opens nothing and records what the
// window asked of it.
class RecordingHost : public WindowHost
{
public:
    void showSplash() override { ++splashShown; }

    void showCaseLibrary() override { ++caseLibraryShown; }

    void showWorksheet() override { ++worksheetShown; }

    void showNamesAdmin() override { ++namesAdminShown; }

    void showLocation() override { ++locationShown; }

    void closeWindows() override { ++windowsClosed; }

    void setMenuState(MenuState state) override { menuState = state; }

    void setBackgroundColorIndex(int index) override { backgroundColorIndex = index; }

    MenuState menuState = MenuState::QuitOnly;
    int backgroundColorIndex = -1;
    int splashShown = 0;
    int caseLibraryShown = 0;
    int worksheetShown = 0;
    int namesAdminShown = 0;
    int locationShown = 0;
    int windowsClosed = 0;
};

} // namespace cs42::test
