#include "core/worksheet/ScheduleCsv.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <cmath>
#include <filesystem>
#include <system_error>

namespace cs42::ScheduleCsv {

namespace {
const QStringList Header = {QStringLiteral("income"),
                            QStringLiteral("child1"),
                            QStringLiteral("child2"),
                            QStringLiteral("child3"),
                            QStringLiteral("child4"),
                            QStringLiteral("child5"),
                            QStringLiteral("child6")};

// Splits one CSV line; a value may be enclosed in double quotes (a doubled quote inside stands
// for one).
QStringList splitLine(const QString& line)
{
    QStringList values;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    current += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                current += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            values << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    values << current.trimmed();
    return values;
}

bool isPlainNumber(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\d+(\.\d+)?$)"));
    return pattern.match(text).hasMatch();
}

// The digits from the first non-zero digit to the last non-zero one, the decimal point not counted:
// a decimal number with at most 15 of them is one a double holds so that it reads back as written.
int significantDigits(const QString& plainNumber)
{
    QString digits = plainNumber;
    digits.remove(QLatin1Char('.'));
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == QLatin1Char('0'))
        ++first;
    qsizetype last = digits.size();
    while (last > first && digits[last - 1] == QLatin1Char('0'))
        --last;
    return static_cast<int>(last - first);
}

QString csvValue(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}
} // namespace

std::optional<QByteArray> readFile(const QString& path, QString* error)
{
    auto refuse = [error](const QString& message) -> std::optional<QByteArray> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    std::error_code code;
    const std::filesystem::file_status status =
        std::filesystem::status(std::filesystem::path(QFile::encodeName(path).toStdString()), code);
    if (code || !std::filesystem::exists(status))
        return refuse(QStringLiteral("%1 does not exist").arg(path));
    if (!std::filesystem::is_regular_file(status))
        return refuse(QStringLiteral("%1 is not a file but a folder, a device or a pipe").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    // One byte over the limit is enough to know: a file that grows meanwhile is not read on.
    QByteArray content = file.read(MaxFileSize + 1);
    if (content.size() > MaxFileSize)
        return refuse(QStringLiteral("%1 is larger than %2 bytes (1 MiB); a schedule is a few tens of "
                                     "kilobytes")
                          .arg(path)
                          .arg(MaxFileSize));
    if (file.error() != QFileDevice::NoError)
        return refuse(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return content;
}

std::optional<QList<ScheduleTextRow>>
parse(const QByteArray& content, QString* error, const ScheduleRules& rules)
{
    auto refuse = [error](const QString& message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    QList<ScheduleTextRow> rows;
    QList<ScheduleRow> read;
    qsizetype firstRowLine = 0;
    qsizetype lastRowLine = 0;
    bool headerSeen = false;
    double previousIncome = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype lineNumber = i + 1;
        const QStringList values = splitLine(line);
        if (!headerSeen) {
            QStringList lower;
            for (const QString& v : values)
                lower << v.toLower();
            if (lower != Header)
                return refuse(
                    QStringLiteral("line %1: the header must be %2").arg(lineNumber).arg(Header.join(u',')));
            headerSeen = true;
            continue;
        }
        if (values.size() != Header.size())
            return refuse(QStringLiteral("line %1: %2 values expected (%3), found %4")
                              .arg(lineNumber)
                              .arg(Header.size())
                              .arg(Header.join(u','))
                              .arg(values.size()));
        ScheduleRow numbers;
        for (qsizetype v = 0; v < values.size(); ++v) {
            const QString what =
                v == 0 ? QStringLiteral("the income") : QStringLiteral("the %1 amount").arg(Header[v]);
            if (!isPlainNumber(values[v]))
                return refuse(QStringLiteral("line %1: %2 \"%3\" is not a number")
                                  .arg(lineNumber)
                                  .arg(what, values[v]));
            if (significantDigits(values[v]) > MaxSignificantDigits)
                return refuse(QStringLiteral("line %1: %2 \"%3\" has more than %4 significant digits and "
                                             "would not read back as written")
                                  .arg(lineNumber)
                                  .arg(what, values[v])
                                  .arg(MaxSignificantDigits));
            const double value = values[v].toDouble();
            if (!std::isfinite(value))
                return refuse(QStringLiteral("line %1: %2 \"%3\" is too large to be a number")
                                  .arg(lineNumber)
                                  .arg(what, values[v]));
            if (v == 0)
                numbers.income = value;
            else
                numbers.amounts[static_cast<std::size_t>(v - 1)] = value;
        }
        const double income = numbers.income;
        if (!rows.isEmpty() && income - previousIncome != 50.0)
            return refuse(QStringLiteral("line %1: the income %2 does not follow %3 in a step of exactly 50")
                              .arg(lineNumber)
                              .arg(values[0], rows.last().income));
        ScheduleTextRow row;
        row.income = values[0];
        for (std::size_t k = 0; k < 6; ++k)
            row.amounts[k] = values[static_cast<qsizetype>(k) + 1];
        rows.append(row);
        read.append(numbers);
        if (firstRowLine == 0)
            firstRowLine = lineNumber;
        lastRowLine = lineNumber;
        previousIncome = income;
    }
    if (!headerSeen)
        return refuse(QStringLiteral("the file is empty: the header %1 is missing").arg(Header.join(u',')));
    if (rows.isEmpty())
        return refuse(QStringLiteral("the file holds no schedule rows"));
    const ScheduleTable table(read);
    const QString gap = table.rangeProblem(rules);
    if (!gap.isEmpty()) {
        const bool startsTooHigh = table.rows().first().income > rules.minimumIncome;
        return refuse(QStringLiteral("line %1 (the %2 row): %3")
                          .arg(startsTooHigh ? firstRowLine : lastRowLine)
                          .arg(startsTooHigh ? QStringLiteral("first") : QStringLiteral("last"), gap));
    }
    return rows;
}

QString write(const QList<ScheduleTextRow>& rows)
{
    QString out = Header.join(u',') + QLatin1Char('\n');
    for (const ScheduleTextRow& row : rows) {
        QStringList values{csvValue(row.income)};
        for (const QString& amount : row.amounts)
            values << csvValue(amount);
        out += values.join(u',') + QLatin1Char('\n');
    }
    return out;
}

std::optional<QList<ScheduleTextRow>>
readRows(const QString& scheduleDbPath, QString* error, const QString& table)
{
    SqlConnection connection(scheduleDbPath);
    if (!connection.isOpen()) {
        if (error)
            *error = connection.errorText();
        return std::nullopt;
    }
    QList<ScheduleTextRow> rows;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    // The table name comes from the fixed schema, never from input.
    if (!query.exec(QStringLiteral("SELECT income, child1, child2, child3, child4, child5, child6 FROM %1 "
                                   "ORDER BY rowid")
                        .arg(Schema::scheduleTable(table).name))) {
        if (error)
            *error = query.lastError().text();
        return std::nullopt;
    }
    while (query.next()) {
        ScheduleTextRow row;
        row.income = query.value(0).toString();
        for (int k = 0; k < 6; ++k)
            row.amounts[static_cast<std::size_t>(k)] = query.value(k + 1).toString();
        rows.append(row);
    }
    return rows;
}

bool replaceRows(const QString& scheduleDbPath,
                 const QList<ScheduleTextRow>& rows,
                 QString* error,
                 const QString& table)
{
    const TableDef& def = Schema::scheduleTable(table);
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    SqlConnection connection(scheduleDbPath, SqlConnection::Mode::OpenOrCreate);
    if (!connection.isOpen())
        return fail(connection.errorText());
    Schema::createTable(connection, def);
    Schema::addColumns(connection, def);
    QSqlDatabase& db = connection.database();
    if (!db.transaction())
        return fail(db.lastError().text());
    bool ok = true;
    QString message;
    {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("DELETE FROM %1").arg(def.name))) {
            ok = false;
            message = query.lastError().text();
        }
        if (ok && !query.prepare(QStringLiteral("INSERT INTO %1 (income, child1, child2, child3, child4, "
                                                "child5, child6) VALUES (?, ?, ?, ?, ?, ?, ?)")
                                     .arg(def.name))) {
            ok = false;
            message = query.lastError().text();
        }
        for (qsizetype i = 0; ok && i < rows.size(); ++i) {
            query.addBindValue(rows[i].income);
            for (const QString& amount : rows[i].amounts)
                query.addBindValue(amount);
            if (!query.exec()) {
                ok = false;
                message = query.lastError().text();
            }
        }
    }
    if (ok && !db.commit()) {
        ok = false;
        message = db.lastError().text();
    }
    if (!ok) {
        db.rollback();
        return fail(message);
    }
    return true;
}

} // namespace cs42::ScheduleCsv
