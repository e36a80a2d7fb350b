#include "core/names/NameKey.h"

#include <QDateTime>
#include <QRandomGenerator>

namespace cs42::NameKey {

QString digitsFor(quint32 n)
{
    return (QString::number(n) + QStringLiteral("00000000")).left(7);
}

QString make(const QString& sortForm, quint32 n)
{
    // Upper-case first, then take one character: some letters upper-case to two (ß to SS), and a
    // key longer than eight characters could not be read back from the end of a list entry.
    const QString first = sortForm.isEmpty() ? QStringLiteral(" ") : sortForm.toUpper().left(1);
    return first + digitsFor(n);
}

QString makeUnique(const QString& sortForm, const std::function<bool(const QString&)>& exists)
{
    QRandomGenerator generator(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()) ^
                               QRandomGenerator::system()->generate());
    QString key;
    do {
        key = make(sortForm, generator.bounded(Range));
    } while (exists(key));
    return key;
}

} // namespace cs42::NameKey
