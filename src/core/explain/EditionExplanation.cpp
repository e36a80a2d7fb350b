#include "core/explain/EditionExplanation.h"

#include "core/explain/Explanation.h"
#include "core/explain/Explanation2022.h"
#include "core/explain/Explanation2023S.h"
#include "core/worksheet/FormEdition.h"

namespace cs42 {

namespace {
using Explain = QString (*)(const Captions&, const WorksheetResult&, const QDate&);

struct EditionText
{
    const FormEdition& (*edition)();
    Explain explain;
};

// Each edition with the explanation of its form, oldest first.
const EditionText Texts[] = {
    {&FormEditions::cs42Rev0109,
     static_cast<QString (*)(const Captions&, const WorksheetResult&, const QDate&)>(&generateExplanation)},
    {&FormEditions::cs42Rev0522, &generateExplanation2022},
    {&FormEditions::cs42S2023, &generateExplanation2023S},
};

Explain explanationOf(const FormEdition& edition)
{
    for (const EditionText& text : Texts) {
        if (text.edition().id == edition.id)
            return text.explain;
    }
    return nullptr;
}
} // namespace

QString explainWorksheet(const FormEdition& edition,
                         const Captions& captions,
                         const WorksheetResult& result,
                         const QDate& today)
{
    const Explain explain = explanationOf(edition);
    return explain ? explain(captions, result, today) : QString();
}

bool hasExplanation(const FormEdition& edition)
{
    return explanationOf(edition) != nullptr;
}

} // namespace cs42
