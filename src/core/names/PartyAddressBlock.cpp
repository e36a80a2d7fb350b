#include "core/names/PartyAddressBlock.h"

namespace cs42 {

QString partyAddressBlock(const NameRecord& name)
{
    const QChar cr(13);
    const auto trimmed = [&name](const char* column) {
        return name.value(QString::fromLatin1(column)).trimmed();
    };

    QString block = name.value(QStringLiteral("listname")) + cr;
    const QString shortNote = trimmed("shortnote");
    if (!shortNote.isEmpty())
        block += shortNote + cr;
    block += trimmed("street") + QLatin1Char(' ') + trimmed("street2") + cr;
    const QString city = trimmed("city");
    if (!city.isEmpty())
        block += city + QStringLiteral("    ");
    const QString state = trimmed("namestate");
    if (!state.isEmpty())
        block += state + QStringLiteral("   ");
    block += trimmed("zipcode");
    return block;
}

} // namespace cs42
