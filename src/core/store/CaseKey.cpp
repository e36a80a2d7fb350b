#include "core/store/CaseKey.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <cmath>

namespace cs42::CaseKey {

QString digitsFor(double fraction, int count)
{
    const auto whole = static_cast<qint64>(std::floor(99999999.0 * fraction));
    return (QString::number(whole) + QStringLiteral("00000000")).left(count);
}

QString make(const QString& caseName, double fraction)
{
    return caseName.toUpper().left(2) + digitsFor(fraction);
}

QString makeUnique(const QString& caseName, const std::function<bool(const QString&)>& exists)
{
    QRandomGenerator generator(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()) ^
                               QRandomGenerator::system()->generate());
    QString key;
    do {
        key = make(caseName, generator.generateDouble());
    } while (exists(key));
    return key;
}

} // namespace cs42::CaseKey
