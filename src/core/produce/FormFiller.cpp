#include "core/produce/FormFiller.h"

#include "core/produce/TerminalFormFields.h"
#include "core/produce/TextAppearance.h"
#include "core/store/ProgramSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

Q_LOGGING_CATEGORY(lcProduce, "cs42.produce")

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
           ProgramSettings::MakerName + QStringLiteral(" (") + ProgramSettings::MakerWebAddress +
           QStringLiteral(").");
}

ProduceResult fillForm(const QString& templatePath, const QString& outputPath, const Captions& captions)
{
    const QFileInfo templateInfo(templatePath);
    if (!templateInfo.isFile())
        return failure(ProduceStatus::MissingTemplate, QString(), missingTemplateMessage(templatePath));

    // The template is a data file that production never changes, whatever output path it is given.
    const QFileInfo outputInfo(outputPath);
    if (outputInfo.exists() && outputInfo.canonicalFilePath() == templateInfo.canonicalFilePath()) {
        qCWarning(lcProduce) << "refusing to write the produced form over its template" << outputPath;
        return failure(ProduceStatus::SaveFailed, saveFailedTitle(), saveFailedMessage());
    }

    QByteArray document;
    int fieldCount = 0;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(templatePath).constData());

        const QList<TerminalFormField> fields = terminalFormFields(pdf);
        fieldCount = static_cast<int>(fields.size());

        // Every field first shows its own number; the field map then overwrites the first 41.
        QStringList values;
        values.reserve(fields.size());
        for (int i = 1; i <= fieldCount; ++i)
            values.append(QStringLiteral(" ") + QString::number(i));
        const QStringList labels = Cs42Form::formFieldLabels();
        for (qsizetype i = 0; i < labels.size() && i < values.size(); ++i)
            values[i] = captions.value(labels[i]);

        QPDFObjectHandle acroForm = pdf.getRoot().getKey("/AcroForm");
        if (fieldCount > 0) {
            QPDFObjectHandle font = helveticaFont(pdf, acroForm);
            for (qsizetype i = 0; i < fields.size(); ++i) {
                TerminalFormField field = fields[i];
                if (!isTextField(field))
                    continue;
                field.field.replaceKey("/V", QPDFObjectHandle::newUnicodeString(values[i].toStdString()));
                for (QPDFObjectHandle widget : field.widgets)
                    writeAppearance(pdf, field, widget, values[i], acroForm, font);
            }
            // Every widget now carries its appearance; a viewer must not replace it with its own.
            acroForm.removeKey("/NeedAppearances");
        }

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setDeterministicID(true);
        writer.write();
        std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        document = QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                              static_cast<qsizetype>(buffer->getSize()));
    } catch (const std::exception& e) {
        qCWarning(lcProduce) << "cannot fill" << templatePath << ":" << e.what();
        return failure(
            ProduceStatus::TemplateUnreadable,
            saveFailedTitle(),
            QStringLiteral("The file '") + templatePath +
                QStringLiteral("' is damaged or is not a PDF form, so no form was produced.\r\n\r\n"
                               "Please reinstall this program.  If this situation continues, please "
                               "contact ") +
                ProgramSettings::MakerName + QStringLiteral(" (") + ProgramSettings::MakerWebAddress +
                QStringLiteral(")."));
    }

    // Written beside the output and renamed over it: a failure leaves the previous form intact.
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit()) {
        qCWarning(lcProduce) << "cannot save" << outputPath << ":" << file.errorString();
        file.cancelWriting();
        return failure(ProduceStatus::SaveFailed, saveFailedTitle(), saveFailedMessage(), fieldCount);
    }
    return ProduceResult{ProduceStatus::Produced, QString(), QString(), fieldCount};
}

} // namespace cs42
