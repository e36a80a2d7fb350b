#pragma once

#include <QString>

namespace cs42::formgen {

// "QUONSchedule.pdf": the schedule table from a CSV file (income,child1,...,child6), with page
// headers; when `csvPath` is empty or missing, a one-page notice that no schedule was installed.
bool writeScheduleDocument(const QString& csvPath, const QString& outputPath, QString* error);

// "QUONRule32.pdf": how the worksheet computes each line, in plain words.
bool writeRule32Document(const QString& outputPath, QString* error);

} // namespace cs42::formgen
