#pragma once

#include "core/format/Captions.h"

#include <QDate>
#include <QString>

namespace cs42 {

struct FormEdition;
struct WorksheetResult;

// The written explanation of a computation on `edition`: the explanation of that edition's own
// form (generateExplanation for form CS-42 (Rev. 1/09), generateExplanation2022,
// generateExplanation2023S). Empty for an edition that has none (hasExplanation).
QString explainWorksheet(const FormEdition& edition,
                         const Captions& captions,
                         const WorksheetResult& result,
                         const QDate& today);

// True when `edition` has a written explanation of its own; every edition the program prepares
// (FormEditions::all) has one.
bool hasExplanation(const FormEdition& edition);

} // namespace cs42
