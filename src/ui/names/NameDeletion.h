#pragma once

#include <QString>

class QWidget;

namespace cs42 {

class Interaction;

// The questions both names windows ask before they delete the selected name.
namespace NameDeletion {
// A protected record is refused with `refusal` under the title "Delete 'Tessaly'"; any other
// selected `entry` is deleted only after a Yes to "Are you sure you want to delete this Name?",
// titled with the entry's first 100 characters. True when the name may be deleted.
bool confirm(Interaction& interaction,
             QWidget* parent,
             bool isProtected,
             const QString& refusal,
             const QString& entry);
} // namespace NameDeletion

} // namespace cs42
