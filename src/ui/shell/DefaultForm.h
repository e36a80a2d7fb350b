#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace cs42 {

struct Session;

// Menu "Default Form": the office chooses the form edition every new case takes
// (`Main.defaultedition` of the settings) from the editions this program knows, in the list box
// of the interaction, which the keyboard works alone (arrows, Enter, Esc).
namespace DefaultForm {

QString title();
QString prompt();
// The editions offered, in FormEditions::all() order: "Form CS-42 (Rev. 5/2022), for actions filed
// on or after May 1, 2022".
QStringList items();
// Offers the editions with the current default chosen (the form new cases take meanwhile when the
// settings name an edition this program does not know, which is said first) and stores the one
// chosen. False on Cancel, or when the settings could not be written, which is said.
bool choose(Session& session, QWidget* parent);

} // namespace DefaultForm

} // namespace cs42
