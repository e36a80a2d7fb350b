#include "core/produce/FormTemplate.h"

#include "core/produce/TerminalFormFields.h"

#include <QFile>
#include <QFileInfo>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <exception>

namespace cs42 {

namespace {

constexpr int MultilineFlag = 1 << 12;
constexpr int RightQuadding = 2;

int integerAttribute(QPDFObjectHandle field, const std::string& key, QPDFObjectHandle acroForm)
{
    QPDFObjectHandle value = inheritedFieldAttribute(field, key);
    if (value.isNull() && acroForm.isDictionary())
        value = acroForm.getKey(key);
    return value.isInteger() ? value.getIntValueAsInt() : 0;
}

} // namespace

std::optional<FormTemplateInfo> readFormTemplate(const QString& path, QString* error)
{
    auto fail = [error](const QString& reason) -> std::optional<FormTemplateInfo> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("The file '%1' does not exist!").arg(path));
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(path).constData());
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (pages.empty())
            return fail(QStringLiteral("The file '%1' has no pages.").arg(path));
        FormTemplateInfo info;
        const QPDFObjectHandle::Rectangle box = pages.front().getMediaBox().getArrayAsRectangle();
        info.pageSize = QSizeF(box.urx - box.llx, box.ury - box.lly);
        QPDFObjectHandle acroForm = pdf.getRoot().getKey("/AcroForm");
        int index = 0;
        for (TerminalFormField field : terminalFormFields(pdf)) {
            FormFieldInfo fieldInfo;
            fieldInfo.index = ++index;
            fieldInfo.name = field.name;
            if (!field.widgets.isEmpty()) {
                QPDFObjectHandle rect = field.widgets.front().getKey("/Rect");
                if (rect.isRectangle()) {
                    const QPDFObjectHandle::Rectangle r = rect.getArrayAsRectangle();
                    fieldInfo.rect = QRectF(QPointF(r.llx, r.lly), QPointF(r.urx, r.ury)).normalized();
                }
            }
            fieldInfo.multiline = (integerAttribute(field.field, "/Ff", acroForm) & MultilineFlag) != 0;
            fieldInfo.rightAligned = integerAttribute(field.field, "/Q", acroForm) == RightQuadding;
            info.fields.append(fieldInfo);
        }
        return info;
    } catch (const std::exception& e) {
        return fail(QStringLiteral("The file '%1' could not be read as a PDF form: %2")
                        .arg(path, QString::fromLocal8Bit(e.what())));
    }
}

} // namespace cs42
