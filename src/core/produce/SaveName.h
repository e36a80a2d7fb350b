#pragma once

#include <QDate>
#include <QString>

namespace cs42 {

// The file name Save As offers for a produced form: "<case name> - <form> - <yyyy-MM-dd>.pdf",
// such as "Johnson v Johnson - CS-42 - 2026-12-10.pdf". The case name loses what a file name
// cannot hold on any of the systems an office shares its folders with: / \ : * ? " < > |, control
// characters, and every period (the "v." of "Johnson v. Johnson"; Windows drops a period that ends
// a name); the spaces left are trimmed and runs of them become one. A case name that leaves
// nothing gives "<form> - <yyyy-MM-dd>.pdf".
QString producedFormSaveName(const QString& caseName, const QString& formShortName, const QDate& date);

} // namespace cs42
