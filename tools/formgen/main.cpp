// cs42-formgen: generates the documents installed with the program into VTRForms: the blank
// court forms QUON42.PDF (form CS-42, Rev. 1/09), CS42_2022.PDF (form CS-42, Rev. 5/2022) and
// CS42S_2023.PDF (form CS-42-S for shared 50 % physical custody, effective 6/2023), the reference
// documents QUONSchedule.pdf and QUONRule32.pdf, and the PNG sizes of the program's icon.
#include "AcroFormBuilder.h"
#include "Cs42Page.h"
#include "Cs42Rev2022Page.h"
#include "Cs42SPage.h"
#include "ProgramIcon.h"
#include "ReferenceDocuments.h"
#include "core/worksheet/Cs42Form.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <functional>

namespace {

const char* const Usage = "Usage: cs42-formgen template OUT.pdf\n"
                          "       cs42-formgen template-2022 OUT.pdf\n"
                          "       cs42-formgen template-2023s OUT.pdf\n"
                          "       cs42-formgen schedule [SCHEDULE.csv] OUT.pdf\n"
                          "       cs42-formgen rule32 OUT.pdf\n"
                          "       cs42-formgen icon SIZE OUT.png\n";

void printError(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stderr);
}

// A blank court form: how its page is drawn and the fields it must leave, in the form's order.
struct TemplateForm
{
    QString title;
    std::function<QList<cs42::formgen::FormFieldSpec>(QPainter&)> draw;
    QStringList labels; // the worksheet label of field i, field 1 first
    QStringList names;  // the name production expects of field i
    QString owner;      // what sets the field order, for the errors
};

TemplateForm cs42Rev0109Form()
{
    return {QStringLiteral("Form CS-42 (Rev. 1/09): Child-Support Guidelines"),
            cs42::formgen::drawCs42Page,
            cs42::Cs42Form::formFieldLabels(),
            cs42::Cs42Form::formFieldNames(),
            QStringLiteral("the field map")};
}

// A form whose page draws the fields of its own field table.
TemplateForm tableForm(const QString& title,
                       const std::function<QList<cs42::formgen::FormFieldSpec>(QPainter&)>& draw,
                       const QList<cs42::formgen::FormFieldSpec>& fieldTable)
{
    TemplateForm form{title, draw, {}, {}, QStringLiteral("the field table")};
    for (const cs42::formgen::FormFieldSpec& field : fieldTable) {
        form.labels.append(field.label);
        form.names.append(field.name);
    }
    return form;
}

TemplateForm cs42Rev2022Form()
{
    return tableForm(QStringLiteral("Form CS-42 (Rev. 5/2022): Child-Support Guidelines"),
                     cs42::formgen::drawCs42Rev2022Page,
                     cs42::formgen::cs42Rev2022Fields());
}

TemplateForm cs42SForm()
{
    return tableForm(QStringLiteral("Form CS-42-S (Effective 6/2023): Child-Support Guidelines"),
                     cs42::formgen::drawCs42SPage,
                     cs42::formgen::cs42SFields());
}

bool writeTemplate(const TemplateForm& form, const QString& outputPath, QString* error)
{
    QBuffer pageBuffer;
    pageBuffer.open(QIODevice::WriteOnly);
    QList<cs42::formgen::FormFieldSpec> drawn;
    {
        QPdfWriter writer(&pageBuffer);
        writer.setResolution(72);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        writer.setTitle(form.title);
        writer.setCreator(QStringLiteral("cs42-formgen"));
        QPainter painter(&writer);
        drawn = form.draw(painter);
    }

    // Field i of the form is the field of the i-th label; the page draws each exactly once.
    QHash<QString, cs42::formgen::FormFieldSpec> byLabel;
    for (const auto& field : drawn) {
        if (byLabel.contains(field.label)) {
            *error = QStringLiteral("the page draws the field of %1 twice").arg(field.label);
            return false;
        }
        byLabel.insert(field.label, field);
    }
    QList<cs42::formgen::FormFieldSpec> ordered;
    for (const QString& label : form.labels) {
        if (!byLabel.contains(label)) {
            *error = QStringLiteral("the page draws no field for %1").arg(label);
            return false;
        }
        ordered.append(byLabel.take(label));
    }
    if (!byLabel.isEmpty()) {
        *error = QStringLiteral("the page draws fields %1 does not fill: %2")
                     .arg(form.owner, QStringList(byLabel.keys()).join(QStringLiteral(", ")));
        return false;
    }
    // Production refuses a template whose fields are not named as the program expects.
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        if (ordered[i].name != form.names.value(i)) {
            *error = QStringLiteral("the page names field %1 '%2'; production expects '%3'")
                         .arg(i + 1)
                         .arg(ordered[i].name, form.names.value(i));
            return false;
        }
    }
    return cs42::formgen::writeFormTemplate(pageBuffer.data(), ordered, outputPath, error);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString error;
    bool ok = false;
    if (args.size() == 2 && args[0] == QLatin1String("template")) {
        ok = writeTemplate(cs42Rev0109Form(), args[1], &error);
    } else if (args.size() == 2 && args[0] == QLatin1String("template-2022")) {
        ok = writeTemplate(cs42Rev2022Form(), args[1], &error);
    } else if (args.size() == 2 && args[0] == QLatin1String("template-2023s")) {
        ok = writeTemplate(cs42SForm(), args[1], &error);
    } else if ((args.size() == 2 || args.size() == 3) && args[0] == QLatin1String("schedule")) {
        ok =
            cs42::formgen::writeScheduleDocument(args.size() == 3 ? args[1] : QString(), args.last(), &error);
    } else if (args.size() == 2 && args[0] == QLatin1String("rule32")) {
        ok = cs42::formgen::writeRule32Document(args[1], &error);
    } else if (args.size() == 3 && args[0] == QLatin1String("icon")) {
        ok = cs42::formgen::writeProgramIcon(args[1].toInt(), args[2], &error);
    } else {
        std::fputs(Usage, stderr);
        return 2;
    }
    if (!ok) {
        printError(QStringLiteral("cs42-formgen: %1: %2\n").arg(args.last(), error));
        return 1;
    }
    return 0;
}
