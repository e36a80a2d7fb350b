#include "core/worksheet/ScheduleCsv.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

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

QString csvValue(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}
} // namespace

std::optional<QList<ScheduleTextRow>> parse(const QByteArray& content, QString* error)
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
        for (qsizetype v = 0; v < values.size(); ++v) {
            if (!isPlainNumber(values[v])) {
                const QString what =
                    v == 0 ? QStringLiteral("the income") : QStringLiteral("the %1 amount").arg(Header[v]);
                return refuse(QStringLiteral("line %1: %2 \"%3\" is not a number")
                                  .arg(lineNumber)
                                  .arg(what, values[v]));
            }
        }
        const double income = values[0].toDouble();
        if (!rows.isEmpty() && income - previousIncome != 50.0)
            return refuse(QStringLiteral("line %1: the income %2 does not follow %3 in a step of exactly 50")
                              .arg(lineNumber)
                              .arg(values[0], rows.last().income));
        ScheduleTextRow row;
        row.income = values[0];
        for (std::size_t k = 0; k < 6; ++k)
            row.amounts[k] = values[static_cast<qsizetype>(k) + 1];
        rows.append(row);
        previousIncome = income;
    }
    if (!headerSeen)
        return refuse(QStringLiteral("the file is empty: the header %1 is missing").arg(Header.join(u',')));
    if (rows.isEmpty())
        return refuse(QStringLiteral("the file holds no schedule rows"));
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

std::optional<QList<ScheduleTextRow>> readRows(const QString& scheduleDbPath, QString* error)
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
    if (!query.exec(QStringLiteral(
            "SELECT income, child1, child2, child3, child4, child5, child6 FROM Schedule ORDER BY rowid"))) {
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

bool replaceRows(const QString& scheduleDbPath, const QList<ScheduleTextRow>& rows, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    SqlConnection connection(scheduleDbPath, SqlConnection::Mode::OpenOrCreate);
    if (!connection.isOpen())
        return fail(connection.errorText());
    Schema::createTable(connection, Schema::scheduleTable());
    Schema::addColumns(connection, Schema::scheduleTable());
    QSqlDatabase& db = connection.database();
    if (!db.transaction())
        return fail(db.lastError().text());
    bool ok = true;
    QString message;
    {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("DELETE FROM Schedule"))) {
            ok = false;
            message = query.lastError().text();
        }
        if (ok &&
            !query.prepare(QStringLiteral("INSERT INTO Schedule (income, child1, child2, child3, child4, "
                                          "child5, child6) VALUES (?, ?, ?, ?, ?, ?, ?)"))) {
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
