#pragma once

#include <QString>

#include <optional>

namespace cs42 {

// What the add-name dialog typed: the four parts of an individual's name and a firm's name,
// as typed (untrimmed).
struct NameParts
{
    QString firstName;
    QString middleName;
    QString lastName;
    QString suffix;
    QString firmName;
};

// The name columns of a record about to be added.
struct ComposedName
{
    bool individual = false;
    QString sortForm;        // firmname: the text the lists show and sort by
    QString displayForm;     // listname: how the name is printed as a party
    QString lastFirstMiddle; // the sort form of an individual with a last name, else empty
};

// The two name forms of a record. Both are composed once, when the record is added.
namespace NameForms {
// First, middle, last, suffix: each trimmed part that is not empty joins with one space; an
// empty first name leaves a leading space before the next part.
QString displayForm(const QString& first, const QString& middle, const QString& last, const QString& suffix);
// Last name first: the trimmed last name, then each non-empty trimmed part after one space.
QString sortForm(const QString& first, const QString& middle, const QString& last, const QString& suffix);
// The forms of a new record, or nothing when neither a last name nor a firm name was given.
// A Last Name box that is not empty as typed (spaces count) makes an individual; the firm name is
// then ignored.
std::optional<ComposedName> compose(const NameParts& parts);
} // namespace NameForms

} // namespace cs42
