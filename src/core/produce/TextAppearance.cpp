#include "core/produce/TextAppearance.h"

#include "core/produce/HelveticaMetrics.h"

#include <QList>
#include <QRegularExpression>
#include <qpdf/QUtil.hh>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace cs42 {

namespace {

constexpr double Padding = 2.0;
constexpr double MaxAutoSize = 12.0;
constexpr double AutoMultilineSize = 10.0;
constexpr double MinSingleLineSize = 4.0;
constexpr double MinMultilineSize = 5.0;
constexpr double LineSpacing = 1.15;
constexpr double TextHeight = HelveticaAscent - HelveticaDescent;

QByteArray number(double value)
{
    QByteArray text = QByteArray::number(value, 'f', 2);
    // "12.50" -> "12.5", "12.00" -> "12": shorter streams, same values.
    while (text.contains('.') && (text.endsWith('0') || text.endsWith('.')))
        text.chop(1);
    return text == "-0" ? QByteArrayLiteral("0") : text;
}

std::string toWinAnsi(const QString& text)
{
    QString cleaned = text;
    for (QChar& c : cleaned) {
        if (c.unicode() < 32)
            c = QLatin1Char(' ');
    }
    return QUtil::utf8_to_win_ansi(cleaned.toStdString(), '?');
}

QByteArray pdfString(const std::string& winAnsi)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(winAnsi.size()) + 2);
    out.append('(');
    for (char c : winAnsi) {
        if (c == '(' || c == ')' || c == '\\')
            out.append('\\');
        out.append(c);
    }
    out.append(')');
    return out;
}

// Word-wraps one paragraph to `width` points; a word longer than a line is broken between
// characters. Every word and character is measured once, in font units summed exactly, so a
// paragraph of any length wraps in time proportional to its length.
void wrapParagraph(std::string_view paragraph, double width, double size, std::vector<std::string>* lines)
{
    if (paragraph.empty()) {
        lines->push_back({});
        return;
    }
    const auto fits = [width, size](std::int64_t units) {
        return helveticaUnitsToPoints(units, size) <= width;
    };
    const std::int64_t space = helveticaCharUnits(' ');
    std::string line;
    std::int64_t lineUnits = 0;
    std::size_t pos = 0;
    while (pos < paragraph.size()) {
        std::size_t end = paragraph.find(' ', pos);
        if (end == std::string_view::npos)
            end = paragraph.size();
        const std::string_view word = paragraph.substr(pos, end - pos);
        pos = end + 1;
        const std::int64_t wordUnits = helveticaTextUnits(word);
        const std::int64_t candidate = line.empty() ? wordUnits : lineUnits + space + wordUnits;
        if (fits(candidate)) {
            if (!line.empty())
                line += ' ';
            line += word;
            lineUnits = candidate;
            continue;
        }
        if (!line.empty()) {
            lines->push_back(line);
            line.clear();
        }
        std::size_t start = 0;
        std::int64_t rest = wordUnits;
        while (!fits(rest) && word.size() - start > 1) {
            std::size_t fit = 1;
            std::int64_t fitUnits = helveticaCharUnits(word[start]);
            while (start + fit < word.size() && fits(fitUnits + helveticaCharUnits(word[start + fit]))) {
                fitUnits += helveticaCharUnits(word[start + fit]);
                ++fit;
            }
            lines->push_back(std::string(word.substr(start, fit)));
            start += fit;
            rest -= fitUnits;
        }
        line = std::string(word.substr(start));
        lineUnits = rest;
    }
    lines->push_back(line);
}

// The paragraphs wrapped at `size`, without the trailing empty lines, which take no room on paper.
std::vector<std::string> wrapText(const std::vector<std::string>& paragraphs, double width, double size)
{
    std::vector<std::string> lines;
    for (const std::string& paragraph : paragraphs)
        wrapParagraph(paragraph, width, size, &lines);
    while (lines.size() > 1 && lines.back().find_first_not_of(' ') == std::string::npos)
        lines.pop_back();
    return lines;
}

double lineX(const std::string& line, double size, const TextFieldStyle& style)
{
    const double textWidth = helveticaTextWidth(line, size);
    switch (style.quadding) {
    case 1:
        return (style.width - textWidth) / 2.0;
    case 2:
        return style.width - Padding - textWidth;
    default:
        return Padding;
    }
}

} // namespace

void applyDefaultAppearance(const QByteArray& defaultAppearance, TextFieldStyle* style)
{
    const QList<QByteArray> tokens = defaultAppearance.simplified().split(' ');
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QByteArray& op = tokens[i];
        bool ok = false;
        if (op == "Tf" && i >= 1) {
            const double size = tokens[i - 1].toDouble(&ok);
            if (ok && size >= 0)
                style->fontSize = size;
        } else if ((op == "g" && i >= 1) || (op == "rg" && i >= 3) || (op == "k" && i >= 4)) {
            const qsizetype operands = op == "g" ? 1 : (op == "rg" ? 3 : 4);
            QByteArray colour;
            bool valid = true;
            for (qsizetype k = i - operands; k < i; ++k) {
                tokens[k].toDouble(&ok);
                valid = valid && ok;
                colour += tokens[k] + ' ';
            }
            if (valid)
                style->colorOperator = colour + op;
        }
    }
}

QByteArray textAppearanceContent(const QString& value, const TextFieldStyle& style)
{
    QByteArray out = QByteArrayLiteral("/Tx BMC\n");
    if (value.trimmed().isEmpty() || style.width <= 0 || style.height <= 0) {
        out += "EMC\n";
        return out;
    }
    const double availableWidth = std::max(1.0, style.width - 2 * Padding);
    const double availableHeight = std::max(1.0, style.height - 2 * Padding);
    const double fittingSize = std::max(1.0, (style.height - 2.0) / TextHeight);

    out += "q\n1 1 " + number(style.width - 2) + ' ' + number(style.height - 2) + " re W n\nBT\n";
    if (!style.multiline) {
        QString oneLine = value;
        oneLine.replace(QRegularExpression(QStringLiteral("\r\n|\r|\n")), QStringLiteral(" "));
        const std::string text = toWinAnsi(oneLine);
        double size =
            style.fontSize > 0 ? std::min(style.fontSize, fittingSize) : std::min(MaxAutoSize, fittingSize);
        const double textWidth = helveticaTextWidth(text, size);
        if (textWidth > availableWidth)
            size = std::max(MinSingleLineSize, size * availableWidth / textWidth);
        // Laid out at the size the stream states (two decimals), so the text ends where measured.
        size = std::floor(size * 100) / 100;
        const double baseline = (style.height - TextHeight * size) / 2.0 - HelveticaDescent * size;
        out += "/Helv " + number(size) + " Tf " + style.colorOperator + '\n';
        out += "1 0 0 1 " + number(lineX(text, size, style)) + ' ' + number(baseline) + " Tm\n";
        out += pdfString(text) + " Tj\n";
    } else {
        std::vector<std::string> paragraphs;
        for (const QString& paragraph : value.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
            paragraphs.push_back(toWinAnsi(paragraph));
        const double startSize = style.fontSize > 0 ? style.fontSize : AutoMultilineSize;
        auto fitsBox = [availableHeight](const std::vector<std::string>& wrapped, double fontSize) {
            const double count = static_cast<double>(wrapped.size());
            return (TextHeight + (count - 1) * LineSpacing) * fontSize <= availableHeight;
        };
        // Text too tall for the box is drawn smaller in steps of half a point, down to the minimum:
        // the first step that fits. Fewer points never need more lines, so the step is found by
        // halving the range of steps: a handful of wraps, whatever the stated size.
        auto stepSize = [startSize](int step) {
            return std::max(MinMultilineSize, startSize - 0.5 * step);
        };
        double size = startSize;
        std::vector<std::string> lines = wrapText(paragraphs, availableWidth, size);
        if (size > MinMultilineSize && !fitsBox(lines, size)) {
            // A nonsensical stated size is still a bounded number of steps.
            const int lastStep =
                static_cast<int>(std::min(1.0e6, std::ceil((startSize - MinMultilineSize) / 0.5)));
            int low = 1;
            int high = lastStep;                // the minimum is taken when nothing larger fits
            std::vector<std::string> highLines; // the wrap at `high`, once a step in the loop fitted
            bool highWrapped = false;
            while (low < high) {
                const int middle = low + (high - low) / 2;
                std::vector<std::string> wrapped = wrapText(paragraphs, availableWidth, stepSize(middle));
                if (fitsBox(wrapped, stepSize(middle))) {
                    high = middle;
                    highLines = std::move(wrapped);
                    highWrapped = true;
                } else {
                    low = middle + 1;
                }
            }
            size = stepSize(high);
            lines = highWrapped ? std::move(highLines) : wrapText(paragraphs, availableWidth, size);
        }
        out += "/Helv " + number(size) + " Tf " + style.colorOperator + '\n';
        double baseline = style.height - Padding - HelveticaAscent * size;
        for (const std::string& line : lines) {
            out += "1 0 0 1 " + number(lineX(line, size, style)) + ' ' + number(baseline) + " Tm\n";
            out += pdfString(line) + " Tj\n";
            baseline -= LineSpacing * size;
        }
    }
    out += "ET\nQ\nEMC\n";
    return out;
}

} // namespace cs42
