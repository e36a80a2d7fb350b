#pragma once

#include "core/worksheet/FormEdition.h"

#include <QList>
#include <QStringList>

namespace cs42 {

// The building blocks of the line tables of the forms from 2022 on, which share their header,
// parties, children, the parents' entered lines and the signature block.
namespace LineTable {

// A line the user enters or the form computes; `field` is the form field it fills.
LineDef line(const char* label,
             LineKind kind,
             EntryRule rule,
             Side side,
             QStringList columns,
             const char* field,
             const char* description,
             const char* title = "");

// A line each parent enters in cents (line `number`, stored in the two columns), and its combined
// cell when the form has one (an empty `cField`: none).
QList<LineDef> entered(const char* number,
                       const char* what,
                       const char* pColumn,
                       const char* dColumn,
                       const char* pField,
                       const char* dField,
                       const char* cField);

// The case number, court and county, the parties, the six children and the number of children.
QList<LineDef> header();
// Lines 1, 1a and 1b of each parent with their combined cells, and line 2.
QList<LineDef> incomes();
// The comments, the preparer and the date; `commentsField` is the comments field's name.
QList<LineDef> signature(const char* commentsField);

} // namespace LineTable

} // namespace cs42
