// Where the main window opens: the placement kept at the last quit, when it still fits a screen.

#include "core/store/WindowPlacement.h"

#include <gtest/gtest.h>

using namespace cs42;

TEST(WindowPlacement, TextRoundTripsAndDamagedTextIsNotUsed)
{
    const WindowPlacement kept{QRect(-1900, 40, 1200, 800), true};
    const auto back = WindowPlacement::fromText(kept.toText());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->geometry, kept.geometry);
    EXPECT_TRUE(back->maximized);
    for (const char* damaged : {"", "1 2 3", "a b c d 0", "0 0 0 600 0", "0 0 800 600 2", "0 0 800 600 0 9"})
        EXPECT_FALSE(WindowPlacement::fromText(QString::fromLatin1(damaged))) << damaged;
}

TEST(WindowPlacement, KeptPlaceOnlyWhereItFitsAScreenThatIsPresent)
{
    const QSize normal(1080, 666);
    const QRect laptop(0, 0, 1280, 720 - 40); // 1920 x 1080 at 150 %, less the task bar
    const QRect left(-1920, 0, 1920, 1040);

    struct Case
    {
        const char* name;
        std::optional<WindowPlacement> kept;
        QList<QRect> screens;
        QRect expected;
        bool maximized;
    } cases[] = {
        {"first start: the normal size, centred",
         std::nullopt,
         {QRect(0, 0, 1920, 1040)},
         QRect(420, 187, 1080, 666),
         false},
        {"a small screen cuts the normal size",
         std::nullopt,
         {QRect(0, 0, 800, 600)},
         QRect(0, 0, 800, 600),
         false},
        {"kept on the second screen",
         WindowPlacement{QRect(-1800, 100, 1000, 700), false},
         {laptop, left},
         QRect(-1800, 100, 1000, 700),
         false},
        {"the second screen is gone",
         WindowPlacement{QRect(-1800, 100, 1000, 700), true},
         {laptop},
         QRect(100, 7, 1080, 666),
         true},
        {"larger than the screen now",
         WindowPlacement{QRect(0, 0, 1600, 900), false},
         {laptop},
         QRect(100, 7, 1080, 666),
         false},
    };

    for (const Case& c : cases) {
        const WindowPlacement chosen = WindowPlacement::choose(c.kept, normal, c.screens);
        EXPECT_EQ(chosen.geometry, c.expected) << c.name;
        EXPECT_EQ(chosen.maximized, c.maximized) << c.name;
        bool onAScreen = false;
        for (const QRect& screen : c.screens)
            onAScreen = onAScreen || screen.contains(chosen.geometry);
        EXPECT_TRUE(onAScreen) << c.name;
    }
}
