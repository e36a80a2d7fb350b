#include "core/worksheet/Cs42Form.h"

#include "core/worksheet/FormEdition.h"

namespace cs42::Cs42Form {

QStringList formFieldLabels()
{
    return FormEditions::cs42Rev0109().formFieldLabels();
}

} // namespace cs42::Cs42Form
