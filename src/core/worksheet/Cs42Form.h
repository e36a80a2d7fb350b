#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace cs42 {

// The captions of the worksheet's labels, by label name ("lblP1", "lblC4", "lblCustody", ...),
// exactly as displayed. The window, the written explanation and the produced form all read one
// set of captions.
using Captions = QMap<QString, QString>;

// Form CS-42 (Rev. 1/09): which worksheet label fills which field of the court's form. Field i of
// the template (1-based, in the template's own field order) receives the caption of
// formFieldLabels()[i - 1]; fields beyond this list keep showing their own number.
namespace Cs42Form {
inline const QString Revision = QStringLiteral("Rev. 1/09");

inline QStringList formFieldLabels()
{
    return {QStringLiteral("lblCourtFile"),  QStringLiteral("lblCourtType"),  QStringLiteral("lblCounty"),
            QStringLiteral("lblName1Name"),  QStringLiteral("lblName2Name"),  QStringLiteral("lblChild1Name"),
            QStringLiteral("lblChild1DOB"),  QStringLiteral("lblChild4Name"), QStringLiteral("lblChild4DOB"),
            QStringLiteral("lblChild2Name"), QStringLiteral("lblChild2DOB"),  QStringLiteral("lblChild5Name"),
            QStringLiteral("lblChild5DOB"),  QStringLiteral("lblChild3Name"), QStringLiteral("lblChild3DOB"),
            QStringLiteral("lblChild6Name"), QStringLiteral("lblChild6DOB"),  QStringLiteral("lblP1"),
            QStringLiteral("lblD1"),         QStringLiteral("lblP1a"),        QStringLiteral("lblD1a"),
            QStringLiteral("lblP1b"),        QStringLiteral("lblD1b"),        QStringLiteral("lblP2"),
            QStringLiteral("lblD2"),         QStringLiteral("lblC2"),         QStringLiteral("lblC4"),
            QStringLiteral("lblC5"),         QStringLiteral("lblC7"),         QStringLiteral("lblP8"),
            QStringLiteral("lblD8"),         QStringLiteral("lblP9"),         QStringLiteral("lblD9"),
            QStringLiteral("lblP10"),        QStringLiteral("lblD10"),        QStringLiteral("lblComments"),
            QStringLiteral("lblPreparedBy"), QStringLiteral("lblDateSigned"), QStringLiteral("lblP3"),
            QStringLiteral("lblD3"),         QStringLiteral("lblC6")};
}
} // namespace Cs42Form

} // namespace cs42
