#include "core/produce/FormFiller.h"

#include "core/Logging.h"
#include "core/produce/OutputPath.h"
#include "core/produce/TerminalFormFields.h"
#include "core/produce/TextAppearance.h"
#include "core/store/PrivateFiles.h"
#include "core/store/ProgramSettings.h"
#include "core/worksheet/Cs42Form.h"
#include "core/worksheet/FormEdition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QSet>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace cs42 {

namespace {

constexpr int MultilineFlag = 1 << 12;
const char* const FontResourceName = "/Helv";

// The Helvetica font the appearances draw with: the form's own /Helv when it is the standard
// Helvetica in WinAnsi (our template's), otherwise one added to the form's resources, so that
// the widths the appearances are measured with are the widths a viewer draws with.
QPDFObjectHandle helveticaFont(QPDF& pdf, QPDFObjectHandle acroForm)
{
    QPDFObjectHandle dr = acroForm.getKey("/DR");
    if (!dr.isDictionary()) {
        dr = QPDFObjectHandle::newDictionary();
        acroForm.replaceKey("/DR", dr);
    }
    QPDFObjectHandle fonts = dr.getKey("/Font");
    if (!fonts.isDictionary()) {
        fonts = QPDFObjectHandle::newDictionary();
        dr.replaceKey("/Font", fonts);
    }
    QPDFObjectHandle existing = fonts.getKey(FontResourceName);
    if (existing.isDictionary() && existing.getKey("/BaseFont").isNameAndEquals("/Helvetica") &&
        existing.getKey("/Encoding").isNameAndEquals("/WinAnsiEncoding")) {
        return existing;
    }
    QPDFObjectHandle font = pdf.makeIndirectObject(QPDFObjectHandle::parse(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
    if (!existing.isDictionary())
        fonts.replaceKey(FontResourceName, font);
    return font;
}

QByteArray inheritedDefaultAppearance(QPDFObjectHandle node, QPDFObjectHandle acroForm)
{
    QPDFObjectHandle da = node.getKey("/DA");
    if (!da.isString())
        da = inheritedFieldAttribute(node, "/DA");
    if (!da.isString())
        da = acroForm.getKey("/DA");
    return da.isString() ? QByteArray::fromStdString(da.getStringValue()) : QByteArray();
}

int inheritedInteger(QPDFObjectHandle node, const std::string& key, QPDFObjectHandle fallback)
{
    QPDFObjectHandle value = node.getKey(key);
    if (!value.isInteger())
        value = inheritedFieldAttribute(node, key);
    if (!value.isInteger() && fallback.isDictionary())
        value = fallback.getKey(key);
    return value.isInteger() ? value.getIntValueAsInt() : 0;
}

void writeAppearance(QPDF& pdf,
                     const TerminalFormField& field,
                     QPDFObjectHandle widget,
                     const QString& value,
                     QPDFObjectHandle acroForm,
                     QPDFObjectHandle font)
{
    QPDFObjectHandle rect = widget.getKey("/Rect");
    if (!rect.isRectangle())
        return;
    const QPDFObjectHandle::Rectangle r = rect.getArrayAsRectangle();
    TextFieldStyle style;
    style.width = std::abs(r.urx - r.llx);
    style.height = std::abs(r.ury - r.lly);
    applyDefaultAppearance(inheritedDefaultAppearance(widget, acroForm), &style);
    style.quadding = inheritedInteger(widget, "/Q", acroForm);
    style.multiline = (inheritedInteger(field.field, "/Ff", QPDFObjectHandle()) & MultilineFlag) != 0;

    QPDFObjectHandle stream = pdf.newStream(textAppearanceContent(value, style).toStdString());
    QPDFObjectHandle dict = stream.getDict();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    dict.replaceKey("/BBox",
                    QPDFObjectHandle::newArray(
                        std::vector<QPDFObjectHandle>{QPDFObjectHandle::newInteger(0),
                                                      QPDFObjectHandle::newInteger(0),
                                                      QPDFObjectHandle::newReal(style.width, 2),
                                                      QPDFObjectHandle::newReal(style.height, 2)}));
    QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
    fonts.replaceKey(FontResourceName, font);
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", fonts);
    dict.replaceKey("/Resources", resources);

    QPDFObjectHandle ap = QPDFObjectHandle::newDictionary();
    ap.replaceKey("/N", stream);
    widget.replaceKey("/AP", ap);
    widget.removeKey("/AS");
}

bool isTextField(const TerminalFormField& field)
{
    QPDFObjectHandle type = inheritedFieldAttribute(field.field, "/FT");
    return type.isNameAndEquals("/Tx");
}

QString reinstallAdvice()
{
    return QStringLiteral("\r\n\r\nPlease reinstall this program.  If this situation continues, please "
                          "contact ") +
           ProgramSettings::makerContact() + QLatin1Char('.');
}

// Why the template is not the form the field map fills: empty when every field the map fills
// carries the name the form gives it at that position. Fields beyond the map are not checked.
QString templateMismatch(const QString& templatePath, const QList<TerminalFormField>& fields)
{
    if (fields.isEmpty())
        return QStringLiteral("The file '") + templatePath +
               QStringLiteral("' holds no form fields, so it is not the blank form CS-42 and no form "
                              "was produced.") +
               reinstallAdvice();
    const QStringList names = Cs42Form::formFieldNames();
    for (qsizetype i = 0; i < fields.size() && i < names.size(); ++i) {
        if (fields[i].name != names[i])
            return QStringLiteral("The file '%1' is not the blank form CS-42: its field %2 is named '%3' "
                                  "where the form has the field '%4', so no form was produced.")
                       .arg(templatePath)
                       .arg(i + 1)
                       .arg(fields[i].name, names[i]) +
                   reinstallAdvice();
    }
    return {};
}

// The same for an edition filled by name: every field the edition fills must be there; the
// template may have others (the court's own PDF has buttons), which are left as they are.
QString missingNamedFields(const QString& templatePath,
                           const QList<TerminalFormField>& fields,
                           const FormEdition& edition)
{
    const QString form = QStringLiteral("the blank form ") + edition.title;
    if (fields.isEmpty())
        return QStringLiteral("The file '") + templatePath +
               QStringLiteral("' holds no form fields, so it is not ") + form +
               QStringLiteral(" and no form was produced.") + reinstallAdvice();
    QSet<QString> present;
    for (const TerminalFormField& field : fields)
        present.insert(field.name);
    QStringList missing;
    for (const LineDef& line : edition.lines) {
        if (!line.fieldName.isEmpty() && !present.contains(line.fieldName))
            missing << QLatin1Char('\'') + line.fieldName + QLatin1Char('\'');
    }
    if (missing.isEmpty())
        return {};
    return QStringLiteral("The file '%1' is not %2: it has no field named %3, so no form was produced.")
               .arg(templatePath, form, missing.join(QStringLiteral(", "))) +
           reinstallAdvice();
}

// The first caption the form's field cannot hold (FieldLimits::maxLength), as the message to show;
// empty when every one fits.
QString captionTooLong(const Captions& captions, const FormEdition& edition)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString advice =
        QStringLiteral("\r\n\r\nShorten that text on the worksheet, and then try producing "
                       "this form again.");
    if (edition.fillsByName) {
        for (const LineDef& line : edition.lines) {
            const qsizetype length = captions.value(line.label).size();
            const qsizetype limit = FieldLimits::maxLength(line.label);
            if (!line.fieldName.isEmpty() && length > limit)
                return QStringLiteral(
                           "The text for the field '%1' of the form is %2 characters long, but that "
                           "field holds at most %3 characters, so no form was produced.")
                           .arg(line.fieldName, english.toString(length), english.toString(limit)) +
                       advice;
        }
        return {};
    }
    const QStringList labels = Cs42Form::formFieldLabels();
    const QStringList names = Cs42Form::formFieldNames();
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const qsizetype length = captions.value(labels[i]).size();
        const qsizetype limit = FieldLimits::maxLength(labels[i]);
        if (length > limit)
            return QStringLiteral("The text for the field '%1' (field %2 of the form) is %3 characters long, "
                                  "but that field holds at most %4 characters, so no form was produced.")
                       .arg(names[i])
                       .arg(i + 1)
                       .arg(english.toString(length), english.toString(limit)) +
                   advice;
    }
    return {};
}

ProduceResult failure(ProduceStatus status, const QString& title, const QString& text, int fieldCount = 0)
{
    return ProduceResult{status, title, text, fieldCount};
}

} // namespace

QString missingTemplateMessage(const QString& templatePath)
{
    return QStringLiteral("The file '") + templatePath + QStringLiteral("' does not exist!");
}

QString saveFailedTitle()
{
    return QStringLiteral("Unable to Produce Form");
}

QString saveFailedMessage()
{
    return QStringLiteral(
               "You clicked on the 'Produce Form' button, but received this message instead of the "
               "form you wanted.\r\n\r\n"
               "This is probably because you did not close the 'VTRPDF.PDF' file before trying to "
               "produce another one.  Check to make sure that the 'VTRPDF.PDF' form is not open, "
               "and then try producing this form again.\r\n\r\n"
               "If you still receive this message, please contact ") +
           ProgramSettings::makerContact() + QLatin1Char('.');
}

SaveFailureCause saveFailureCause(
    QFileDevice::FileError error, bool folderExists, bool folderWritable, bool fileExists, bool fileWritable)
{
    if (!folderExists)
        return SaveFailureCause::FolderMissing;
    if (error == QFileDevice::ResourceError)
        return SaveFailureCause::DiskFull;
    if (error == QFileDevice::RenameError)
        return SaveFailureCause::FileInUse;
    if (fileExists && !fileWritable)
        return SaveFailureCause::FileNotWritable;
    if (error == QFileDevice::OpenError && !folderWritable)
        return SaveFailureCause::FolderNotWritable;
    return SaveFailureCause::Other;
}

QString saveFailedMessage(SaveFailureCause cause, const QString& outputPath, const QString& systemText)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(outputPath).absolutePath());
    const QString file = QDir::toNativeSeparators(QFileInfo(outputPath).absoluteFilePath());
    const QString start = QStringLiteral("You clicked on the 'Produce Form' button, but the form could not "
                                         "be saved as '") +
                          file + QStringLiteral("', because ");
    switch (cause) {
    case SaveFailureCause::FileInUse:
        return saveFailedMessage();
    case SaveFailureCause::FolderMissing:
        return start + QStringLiteral("there is no folder '") + folder +
               QStringLiteral("' to save it in.\r\n\r\nCheck that the folder is there (a network drive "
                              "may have been disconnected), and then try producing this form again.");
    case SaveFailureCause::FolderNotWritable:
        return start + QStringLiteral("you do not have permission to save files in the folder '") + folder +
               QStringLiteral("'.\r\n\r\nAsk your system administrator for permission to write to that "
                              "folder, and then try producing this form again.");
    case SaveFailureCause::FileNotWritable:
        return start + QStringLiteral("you do not have permission to replace the file '") + file +
               QStringLiteral("'.\r\n\r\nAsk your system administrator for permission to change that "
                              "file, and then try producing this form again.");
    case SaveFailureCause::DiskFull:
        return start + QStringLiteral("the disk that holds the folder '") + folder +
               QStringLiteral("' is full.\r\n\r\nFree some space on that disk, and then try producing "
                              "this form again.");
    case SaveFailureCause::Other:
        break;
    }
    return start + QStringLiteral("the system reported: ") + systemText +
           QStringLiteral("\r\n\r\nIf you still receive this message, please contact ") +
           ProgramSettings::makerContact() + QLatin1Char('.');
}

ProduceResult fillForm(const QString& templatePath, const QString& outputPath, const Captions& captions)
{
    return fillForm(templatePath, outputPath, captions, FormEditions::cs42Rev0109());
}

ProduceResult fillForm(const QString& templatePath,
                       const QString& outputPath,
                       const Captions& captions,
                       const FormEdition& edition)
{
    const QFileInfo templateInfo(templatePath);
    if (!templateInfo.isFile())
        return failure(ProduceStatus::MissingTemplate, QString(), missingTemplateMessage(templatePath));

    // The template is a data file that production never changes, whatever output path it is given.
    const QString outputProblem = outputPathProblem(outputPath, {templatePath});
    if (!outputProblem.isEmpty()) {
        qCWarning(lcProduce) << "refusing to write the produced form to" << outputPath;
        return failure(ProduceStatus::OutputRefused, saveFailedTitle(), outputProblem);
    }

    const QString tooLong = captionTooLong(captions, edition);
    if (!tooLong.isEmpty())
        return failure(ProduceStatus::CaptionTooLong, saveFailedTitle(), tooLong);

    QByteArray document;
    int fieldCount = 0;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(templatePath).constData());

        const QList<TerminalFormField> fields = terminalFormFields(pdf);
        fieldCount = static_cast<int>(fields.size());
        // Filled by position, a field out of place would receive another line's amount; filled by
        // name, a field missing would leave its line blank.
        const QString mismatch = edition.fillsByName ? missingNamedFields(templatePath, fields, edition)
                                                     : templateMismatch(templatePath, fields);
        if (!mismatch.isEmpty()) {
            qCWarning(lcProduce) << "not the template of" << edition.title << ":" << templatePath;
            return failure(ProduceStatus::TemplateMismatch, saveFailedTitle(), mismatch, fieldCount);
        }

        // By position, every field first shows its own number and the field map then overwrites the
        // first 41; by name, the edition's fields get their captions and any other field is left
        // alone.
        QStringList values;
        QList<bool> filled(fields.size(), true);
        values.reserve(fields.size());
        if (edition.fillsByName) {
            for (qsizetype i = 0; i < fields.size(); ++i) {
                const QString label = edition.labelOfField(fields[i].name);
                filled[i] = !label.isEmpty();
                values.append(captions.value(label));
            }
        } else {
            for (int i = 1; i <= fieldCount; ++i)
                values.append(QStringLiteral(" ") + QString::number(i));
            const QStringList labels = Cs42Form::formFieldLabels();
            for (qsizetype i = 0; i < labels.size() && i < values.size(); ++i)
                values[i] = captions.value(labels[i]);
        }

        QPDFObjectHandle acroForm = pdf.getRoot().getKey("/AcroForm");
        QPDFObjectHandle font = helveticaFont(pdf, acroForm);
        for (qsizetype i = 0; i < fields.size(); ++i) {
            TerminalFormField field = fields[i];
            if (!isTextField(field) || !filled[i])
                continue;
            field.field.replaceKey("/V", QPDFObjectHandle::newUnicodeString(values[i].toStdString()));
            for (QPDFObjectHandle widget : field.widgets)
                writeAppearance(pdf, field, widget, values[i], acroForm, font);
        }
        // Every widget now carries its appearance; a viewer must not replace it with its own.
        acroForm.removeKey("/NeedAppearances");

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setDeterministicID(true);
        writer.write();
        std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        document = QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                              static_cast<qsizetype>(buffer->getSize()));
    } catch (const std::exception& e) {
        qCWarning(lcProduce) << "cannot fill" << templatePath << ":" << e.what();
        return failure(ProduceStatus::TemplateUnreadable,
                       saveFailedTitle(),
                       QStringLiteral("The file '") + templatePath +
                           QStringLiteral("' is damaged or is not a PDF form, so no form was produced.") +
                           reinstallAdvice());
    }

    // Written beside the output and renamed over it: a failure leaves the previous form intact.
    // The target is made private first; the saved file keeps its permissions.
    bool created = false;
    PrivateFiles::prepare(outputPath, nullptr, &created);
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit()) {
        if (created)
            QFile::remove(outputPath);
        const QFileDevice::FileError error = file.error();
        const QString systemText = file.errorString();
        qCWarning(lcProduce) << "cannot save" << outputPath << ":" << systemText;
        file.cancelWriting();
        const QFileInfo output(outputPath);
        const QFileInfo folder(output.absolutePath());
        const SaveFailureCause cause = saveFailureCause(
            error, folder.isDir(), folder.isWritable(), output.exists(), output.isWritable());
        return failure(ProduceStatus::SaveFailed,
                       saveFailedTitle(),
                       saveFailedMessage(cause, outputPath, systemText),
                       fieldCount);
    }
    return ProduceResult{ProduceStatus::Produced, QString(), QString(), fieldCount};
}

} // namespace cs42
