#pragma once

#include "core/format/Captions.h"

#include <QString>
#include <QStringList>

namespace cs42 {

// Form CS-42 (Rev. 1/09): which worksheet label fills which field of the court's form. Field i of
// the template (1-based, in the template's own field order) receives the caption of
// formFieldLabels()[i - 1]; fields beyond this list keep showing their own number.
namespace Cs42Form {
inline const QString Revision = QStringLiteral("Rev. 1/09");

// The label of each field, field 1 first: a query on the edition's table (FormEdition).
QStringList formFieldLabels();

// The most characters a field of the form takes: the limits every edition shares.
using FieldLimits::maxLength;

// The name of field i of the form (formFieldNames()[i - 1]), as the blank template names it: the
// proof that the field at that position is the one formFieldLabels() fills there. A template saved
// again by another tool may list its fields in another order.
inline QStringList formFieldNames()
{
    return {QStringLiteral("CourtFile"),
            QStringLiteral("CourtType"),
            QStringLiteral("County"),
            QStringLiteral("PlaintiffName"),
            QStringLiteral("DefendantName"),
            QStringLiteral("Child1Name"),
            QStringLiteral("Child1DOB"),
            QStringLiteral("Child4Name"),
            QStringLiteral("Child4DOB"),
            QStringLiteral("Child2Name"),
            QStringLiteral("Child2DOB"),
            QStringLiteral("Child5Name"),
            QStringLiteral("Child5DOB"),
            QStringLiteral("Child3Name"),
            QStringLiteral("Child3DOB"),
            QStringLiteral("Child6Name"),
            QStringLiteral("Child6DOB"),
            QStringLiteral("P1"),
            QStringLiteral("D1"),
            QStringLiteral("P1a"),
            QStringLiteral("D1a"),
            QStringLiteral("P1b"),
            QStringLiteral("D1b"),
            QStringLiteral("P2"),
            QStringLiteral("D2"),
            QStringLiteral("C2"),
            QStringLiteral("C4"),
            QStringLiteral("C5"),
            QStringLiteral("C7"),
            QStringLiteral("P8"),
            QStringLiteral("D8"),
            QStringLiteral("P9"),
            QStringLiteral("D9"),
            QStringLiteral("P10"),
            QStringLiteral("D10"),
            QStringLiteral("Comments"),
            QStringLiteral("PreparedBy"),
            QStringLiteral("DateSigned"),
            QStringLiteral("P3"),
            QStringLiteral("D3"),
            QStringLiteral("C6")};
}
} // namespace Cs42Form

} // namespace cs42
