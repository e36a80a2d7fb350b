// One production of the court form: load the installed template, number and fill its fields,
// write the appearances and save. The form's old notice warned of "15-30 seconds"; the target
// is under 100 ms. Run: build/benchmarks/produce_benchmark [QUON42.PDF [CS42_2022.PDF]]; the
// form CS-42 (Rev. 5/2022) is filled by field name from the captions of a computed case.
#include "BenchmarkData.h"
#include "core/produce/FormFiller.h"
#include "core/worksheet/Cs42Form.h"
#include "core/worksheet/Cs42Rev2022.h"
#include "core/worksheet/FormEdition.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

QString g_templatePath;
QString g_template2022Path;

cs42::Captions sampleCaptions()
{
    cs42::Captions captions;
    const QStringList labels = cs42::Cs42Form::formFieldLabels();
    for (qsizetype i = 0; i < labels.size(); ++i)
        captions.insert(labels[i], QString::number(1000 + i));
    captions.insert(QStringLiteral("lblName1Name"), QStringLiteral("Jane A. Doe"));
    captions.insert(
        QStringLiteral("lblComments"),
        QStringLiteral("Defendant pays the children's health-insurance premium through his employer."
                       "\r\nNo deviation from the guidelines is requested."));
    return captions;
}

void BM_ProduceForm(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString outputPath = dir.filePath(QStringLiteral("VTRPDF.PDF"));
    const cs42::Captions captions = sampleCaptions();
    for (auto _ : state) {
        const cs42::ProduceResult result = cs42::fillForm(g_templatePath, outputPath, captions);
        if (result.status != cs42::ProduceStatus::Produced) {
            state.SkipWithError(result.text.toUtf8().constData());
            break;
        }
    }
}

BENCHMARK(BM_ProduceForm)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

// The captions of a filled 2022 case, computed as the worksheet computes them.
cs42::Captions sampleCaptions2022()
{
    QList<cs42::ScheduleRow> rows;
    for (const cs42::ScheduleTextRow& text : cs42::bench::scheduleRows()) {
        cs42::ScheduleRow row;
        row.income = text.income.toDouble();
        for (std::size_t k = 0; k < row.amounts.size(); ++k)
            row.amounts[k] = text.amounts[k].toDouble();
        rows << row;
    }
    cs42::CaseRecord record;
    const std::pair<const char*, const char*> columns[] = {
        {"formedition", "2022"},
        {"numchildren", "2"},
        {"pinc", "3250.40"},
        {"dinc", "2100.00"},
        {"ppre", "150.00"},
        {"pchildcare", "200.00"},
        {"dhealthins", "85.50"},
        {"whosecustody", "P"},
        {"child1name", "Ann Doe"},
        {"child1dob", "03/07/2012"},
        {"child2name", "Bob Doe"},
        {"child2dob", "12/31/2015"},
        {"name1name", "Jane A. Doe"},
        {"name2name", "John B. Doe"},
        {"courtfile", "DR-2024-900"},
        {"courttype", "Circuit"},
        {"county", "Jefferson"},
        {"preparedby", "Mary Clerk"},
        {"datesigned", "03/05/2024"},
        {"textblock1", "Defendant pays the children's health-insurance premium through his employer."}};
    for (const auto& [column, value] : columns)
        record.setValue(QString::fromLatin1(column), QString::fromLatin1(value));
    return cs42::Cs42Rev2022::computeWorksheet(
               record, cs42::ScheduleTable(rows), cs42::Cs42Rev2022::scheduleRules())
        .captions;
}

void BM_ProduceForm2022(benchmark::State& state)
{
    if (!QFile::exists(g_template2022Path)) {
        state.SkipWithError(qPrintable(QStringLiteral("no blank form CS42_2022.PDF at '%1': build it with "
                                                      "cs42-formgen or pass its path as the second argument")
                                           .arg(g_template2022Path)));
        return;
    }
    QTemporaryDir dir;
    const QString outputPath = dir.filePath(QStringLiteral("VTRPDF.PDF"));
    const cs42::Captions captions = sampleCaptions2022();
    for (auto _ : state) {
        const cs42::ProduceResult result =
            cs42::fillForm(g_template2022Path, outputPath, captions, cs42::FormEditions::cs42Rev0522());
        if (result.status != cs42::ProduceStatus::Produced) {
            state.SkipWithError(result.text.toUtf8().constData());
            break;
        }
    }
}

BENCHMARK(BM_ProduceForm2022)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
#ifdef FORMS_DIR
    g_templatePath = QStringLiteral(FORMS_DIR "/QUON42.PDF");
    g_template2022Path = QStringLiteral(FORMS_DIR "/CS42_2022.PDF");
#endif
    if (argc > 1)
        g_templatePath = QString::fromLocal8Bit(argv[1]);
    if (argc > 2)
        g_template2022Path = QString::fromLocal8Bit(argv[2]);
    if (g_templatePath.isEmpty()) {
        std::fputs("usage: produce_benchmark [QUON42.PDF [CS42_2022.PDF]]\n", stderr);
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
