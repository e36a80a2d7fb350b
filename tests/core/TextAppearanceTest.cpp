#include "core/produce/TextAppearance.h"

#include "core/produce/HelveticaMetrics.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace cs42 {
namespace {

// One drawn line of an appearance stream: where it starts, at what size, and its text.
struct DrawnLine
{
    double x = 0;
    double baseline = 0;
    QByteArray text;
};

struct Drawn
{
    double size = 0;
    QList<DrawnLine> lines;
};

Drawn parse(const QByteArray& content)
{
    Drawn drawn;
    const QRegularExpression sizeRe(QStringLiteral("/Helv ([0-9.]+) Tf"));
    const auto sizeMatch = sizeRe.match(QString::fromLatin1(content));
    if (sizeMatch.hasMatch())
        drawn.size = sizeMatch.captured(1).toDouble();
    const QRegularExpression lineRe(QStringLiteral("1 0 0 1 ([-0-9.]+) ([-0-9.]+) Tm\\n\\((.*)\\) Tj"));
    auto it = lineRe.globalMatch(QString::fromLatin1(content));
    while (it.hasNext()) {
        const auto m = it.next();
        drawn.lines.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toLatin1()});
    }
    return drawn;
}

double widthOf(const DrawnLine& line, double size)
{
    return helveticaTextWidth(line.text.toStdString(), size);
}

TEST(TextAppearance, AlignsOneLineAsTheFieldSays)
{
    struct Case
    {
        int quadding;
        double expectedLeft; // with "1234" at 10 points = 22.24 points wide, in a 100-point box
    };

    for (const Case& c : {Case{0, 2.0}, Case{1, (100 - 22.24) / 2}, Case{2, 100 - 2 - 22.24}}) {
        TextFieldStyle style;
        style.width = 100;
        style.height = 16;
        style.fontSize = 10;
        style.quadding = c.quadding;
        const Drawn drawn = parse(textAppearanceContent(QStringLiteral("1234"), style));
        ASSERT_EQ(drawn.lines.size(), 1);
        EXPECT_DOUBLE_EQ(drawn.size, 10);
        EXPECT_NEAR(drawn.lines[0].x, c.expectedLeft, 0.01) << "quadding " << c.quadding;
        // The text sits inside the box vertically.
        EXPECT_GT(drawn.lines[0].baseline + HelveticaDescent * 10, 0);
        EXPECT_LT(drawn.lines[0].baseline + HelveticaAscent * 10, 16);
    }
}

TEST(TextAppearance, ShrinksAValueTooWideForItsBox)
{
    TextFieldStyle style;
    style.width = 60;
    style.height = 16;
    style.fontSize = 10;
    style.quadding = 2;
    const Drawn drawn = parse(textAppearanceContent(QStringLiteral("1234567890123"), style));
    ASSERT_EQ(drawn.lines.size(), 1);
    EXPECT_LT(drawn.size, 10);
    EXPECT_GE(drawn.lines[0].x, 1.99);
    EXPECT_LE(drawn.lines[0].x + widthOf(drawn.lines[0], drawn.size), 58.01);
}

TEST(TextAppearance, WrapsAMultiLineValueInsideTheBox)
{
    TextFieldStyle style;
    style.width = 200;
    style.height = 60;
    style.fontSize = 10;
    style.multiline = true;
    const QString value =
        QStringLiteral("The defendant pays the children's health insurance through his employer "
                       "and asks for no deviation.\r\nSecond paragraph.");
    const Drawn drawn = parse(textAppearanceContent(value, style));
    ASSERT_GE(drawn.lines.size(), 3);
    EXPECT_EQ(drawn.lines.last().text, QByteArray("Second paragraph."));
    for (const DrawnLine& line : drawn.lines) {
        EXPECT_LE(line.x + widthOf(line, drawn.size), 198.01) << line.text.toStdString();
        EXPECT_GT(line.baseline + HelveticaDescent * drawn.size, 0) << line.text.toStdString();
    }
    for (qsizetype i = 1; i < drawn.lines.size(); ++i)
        EXPECT_LT(drawn.lines[i].baseline, drawn.lines[i - 1].baseline);
}

TEST(TextAppearance, TooManyLinesAreDrawnSmallerRatherThanCutOff)
{
    struct Case
    {
        double statedSize;
        double height;
        double drawnSize; // the largest half-point step below the stated size that fits, or 5
    };

    // Five lines need (0.925 + 4 * 1.15) * size = 5.525 * size points: at most 36 in a 40-point box.
    const Case cases[] = {{10, 40, 6.5}, {40, 40, 6.5}, {9.3, 40, 6.3}, {10, 20, 5}, {6, 40, 6}};
    for (const Case& c : cases) {
        TextFieldStyle style;
        style.width = 200;
        style.height = c.height;
        style.fontSize = c.statedSize;
        style.multiline = true;
        const Drawn drawn = parse(textAppearanceContent(QStringLiteral("1\n2\n3\n4\n5"), style));
        ASSERT_EQ(drawn.lines.size(), 5);
        EXPECT_DOUBLE_EQ(drawn.size, c.drawnSize) << "stated " << c.statedSize << ", height " << c.height;
        if (c.drawnSize > 5) {
            EXPECT_GT(drawn.lines.last().baseline + HelveticaDescent * drawn.size, 0);
        }
    }
}

TEST(TextAppearance, ARunWithoutSpacesIsBrokenIntoFullLinesAndNothingIsLost)
{
    TextFieldStyle style;
    style.width = 104; // 100 points for the text
    style.height = 2000;
    style.fontSize = 10;
    style.multiline = true;
    // Characters of different widths, so that where a line breaks depends on the sum of its widths.
    QString run;
    for (int i = 0; i < 3000; ++i)
        run += QLatin1Char("iWm1l."[i % 6]);
    const Drawn drawn =
        parse(textAppearanceContent(QStringLiteral("Start ") + run + QStringLiteral(" end"), style));
    ASSERT_GT(drawn.lines.size(), 2);
    EXPECT_EQ(drawn.lines.first().text, QByteArray("Start"));
    QByteArray joined;
    for (qsizetype i = 1; i < drawn.lines.size(); ++i) {
        const DrawnLine& line = drawn.lines[i];
        EXPECT_LE(widthOf(line, drawn.size), 100.0) << "line " << i;
        joined += line.text;
        if (i + 1 < drawn.lines.size() - 1) {
            // Full: the next line's first character would not have fitted.
            const QByteArray longer = line.text + drawn.lines[i + 1].text.left(1);
            EXPECT_GT(helveticaTextWidth(longer.toStdString(), drawn.size), 100.0) << "line " << i;
        }
    }
    EXPECT_EQ(joined.replace(' ', ""), run.toLatin1() + "end");
}

TEST(TextAppearance, EmptyValueDrawsNothing)
{
    TextFieldStyle style;
    style.width = 100;
    style.height = 16;
    EXPECT_EQ(textAppearanceContent(QString(), style), QByteArray("/Tx BMC\nEMC\n"));
    EXPECT_EQ(textAppearanceContent(QStringLiteral("   "), style), QByteArray("/Tx BMC\nEMC\n"));
}

TEST(TextAppearance, ReadsSizeAndColourOfTheDefaultAppearance)
{
    struct Case
    {
        const char* da;
        double size;
        const char* colour;
    };

    for (const Case& c : {Case{"/Helv 9 Tf 0 g", 9, "0 g"},
                          Case{"/Helv 0 Tf 1 0 0 rg", 0, "1 0 0 rg"},
                          Case{"0 0 1 0 k /Cour 12 Tf", 12, "0 0 1 0 k"},
                          Case{"nonsense", 7, "0 g"}}) {
        TextFieldStyle style;
        style.fontSize = 7;
        applyDefaultAppearance(c.da, &style);
        EXPECT_DOUBLE_EQ(style.fontSize, c.size) << c.da;
        EXPECT_EQ(style.colorOperator, QByteArray(c.colour)) << c.da;
    }
}

TEST(HelveticaMetrics, MeasuresWithTheStandardWidths)
{
    EXPECT_DOUBLE_EQ(helveticaTextWidth("0123456789", 10), 55.6);
    EXPECT_DOUBLE_EQ(helveticaTextWidth("Wi", 1000), 944 + 222);
    EXPECT_DOUBLE_EQ(helveticaTextWidth("\xE9\xC9", 1000), 556 + 667); // é É
}

} // namespace
} // namespace cs42
