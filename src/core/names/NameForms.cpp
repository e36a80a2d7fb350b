#include "core/names/NameForms.h"

namespace cs42::NameForms {

namespace {
void appendPart(QString& text, const QString& part)
{
    const QString trimmed = part.trimmed();
    if (!trimmed.isEmpty())
        text += QLatin1Char(' ') + trimmed;
}
} // namespace

QString displayForm(const QString& first, const QString& middle, const QString& last, const QString& suffix)
{
    QString text = first.trimmed();
    appendPart(text, middle);
    appendPart(text, last);
    appendPart(text, suffix);
    return text;
}

QString sortForm(const QString& first, const QString& middle, const QString& last, const QString& suffix)
{
    QString text = last.trimmed();
    appendPart(text, first);
    appendPart(text, middle);
    appendPart(text, suffix);
    return text;
}

std::optional<ComposedName> compose(const NameParts& parts)
{
    if (parts.lastName.trimmed().isEmpty() && parts.firmName.trimmed().isEmpty())
        return std::nullopt;
    ComposedName name;
    name.individual = !parts.lastName.isEmpty();
    if (name.individual) {
        name.sortForm = sortForm(parts.firstName, parts.middleName, parts.lastName, parts.suffix);
        name.displayForm = displayForm(parts.firstName, parts.middleName, parts.lastName, parts.suffix);
        name.lastFirstMiddle =
            parts.lastName.trimmed().isEmpty() ? QString(QLatin1String("")) : name.sortForm;
    } else {
        name.sortForm = parts.firmName.trimmed();
        name.displayForm = name.sortForm;
        name.lastFirstMiddle = QString(QLatin1String(""));
    }
    return name;
}

} // namespace cs42::NameForms
