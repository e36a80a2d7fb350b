#include "core/produce/SaveName.h"

#include <QStringList>

namespace cs42 {

namespace {
bool unfitForFileName(QChar c)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|.");
    return forbidden.contains(c) || c.category() == QChar::Other_Control;
}
} // namespace

QString producedFormSaveName(const QString& caseName, const QString& formShortName, const QDate& date)
{
    QString name;
    name.reserve(caseName.size());
    for (const QChar c : caseName) {
        // A tab or a line break separates words like a space.
        if (c == u'\t' || c == u'\n' || c == u'\r')
            name.append(u' ');
        else if (!unfitForFileName(c))
            name.append(c);
    }
    QStringList parts;
    const QString kept = name.simplified();
    if (!kept.isEmpty())
        parts << kept;
    parts << formShortName << date.toString(QStringLiteral("yyyy-MM-dd"));
    return parts.join(QStringLiteral(" - ")) + QStringLiteral(".pdf");
}

} // namespace cs42
