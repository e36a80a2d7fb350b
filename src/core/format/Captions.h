#pragma once

#include <QMap>
#include <QString>

namespace cs42 {

// The captions of the worksheet's labels, by label name ("lblP1", "lblC4", "lblCustody", ...),
// exactly as displayed. The window, the written explanation and the produced form all read one
// set of captions, whichever edition of the form the case is on.
using Captions = QMap<QString, QString>;

// How long a caption may be, on every edition of the form. The comments box shows about 2,000
// characters of ordinary text at its smallest type (5 points: nine lines of some 200 characters);
// every other box is one line that shows far fewer than 255 even shrunk to its smallest. A longer
// text is refused where it is entered and when the form is produced, never cut silently.
namespace FieldLimits {
constexpr qsizetype CommentsMaxLength = 2000;
constexpr qsizetype FieldMaxLength = 255;

// The most characters the field of label `label` takes.
inline qsizetype maxLength(const QString& label)
{
    return label == QLatin1String("lblComments") ? CommentsMaxLength : FieldMaxLength;
}
} // namespace FieldLimits

} // namespace cs42
