#pragma once

#include "core/worksheet/Cs42Form.h"

#include <QDate>
#include <QString>

namespace cs42 {

struct WorksheetResult;

QString generateExplanation2023S(const Captions& captions, const WorksheetResult& result, const QDate& today);

} // namespace cs42
