#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace cs42 {

struct Session;

enum class Party
{
    Plaintiff,
    Defendant,
};

// What the worksheet stores for a party: name1name/name2name, name1number/name2number and
// name1field/name2field.
struct PartyChoice
{
    QString listName;
    QString keyNumber;
    QString addressBlock;
};

// Shows the Names window modally for a party, starting from `storedKey` (empty for a blank
// party). Returns the values to store: the picked name after "SELECT NAME", empty values after
// "No Selection", and nothing when the window was closed any other way (the case keeps its party).
std::optional<PartyChoice>
chooseParty(Session& session, QWidget* parent, Party party, const QString& storedKey);

} // namespace cs42
