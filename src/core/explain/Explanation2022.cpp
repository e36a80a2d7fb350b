#include "core/explain/Explanation2022.h"

namespace cs42 {

QString generateExplanation2022(const Captions&, const WorksheetResult&, const QDate&)
{
    return {};
}

} // namespace cs42
