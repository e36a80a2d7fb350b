#include "AcroFormBuilder.h"

#include <QFile>
#include <QSaveFile>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <exception>
#include <vector>

namespace cs42::formgen {

namespace {

constexpr int MultilineFlag = 1 << 12;
constexpr int RightQuadding = 2;

QPDFObjectHandle number(double value)
{
    return QPDFObjectHandle::newReal(value, 2);
}

QByteArray defaultAppearance(double fontSize)
{
    return QByteArrayLiteral("/Helv ") + QByteArray::number(fontSize, 'f', 1) + QByteArrayLiteral(" Tf 0 g");
}

} // namespace

bool writeFormTemplate(const QByteArray& pagePdf,
                       const QList<FormFieldSpec>& fields,
                       const QString& outputPath,
                       QString* error)
{
    QByteArray output;
    try {
        QPDF pdf;
        pdf.processMemoryFile("page", pagePdf.constData(), static_cast<size_t>(pagePdf.size()));
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (pages.size() != 1) {
            *error = QStringLiteral("the drawn form has %1 pages instead of 1").arg(pages.size());
            return false;
        }
        QPDFObjectHandle page = pages.front().getObjectHandle();
        const double pageHeight = page.getKey("/MediaBox").getArrayAsRectangle().ury;

        QPDFObjectHandle helvetica = pdf.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
        QPDFObjectHandle fontResources = QPDFObjectHandle::newDictionary();
        fontResources.replaceKey("/Helv", helvetica);
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/Font", fontResources);

        QPDFObjectHandle fieldArray = QPDFObjectHandle::newArray();

        struct PlacedWidget
        {
            QRectF box;
            QPDFObjectHandle widget;
        };

        std::vector<PlacedWidget> placed;
        for (const FormFieldSpec& spec : fields) {
            QPDFObjectHandle widget = QPDFObjectHandle::newDictionary();
            widget.replaceKey("/Type", QPDFObjectHandle::newName("/Annot"));
            widget.replaceKey("/Subtype", QPDFObjectHandle::newName("/Widget"));
            widget.replaceKey("/FT", QPDFObjectHandle::newName("/Tx"));
            widget.replaceKey("/T", QPDFObjectHandle::newUnicodeString(spec.name.toStdString()));
            widget.replaceKey("/TU", QPDFObjectHandle::newUnicodeString(spec.tooltip.toStdString()));
            widget.replaceKey("/Rect",
                              QPDFObjectHandle::newArray(
                                  std::vector<QPDFObjectHandle>{number(spec.box.left()),
                                                                number(pageHeight - spec.box.bottom()),
                                                                number(spec.box.right()),
                                                                number(pageHeight - spec.box.top())}));
            widget.replaceKey("/F", QPDFObjectHandle::newInteger(4)); // print
            widget.replaceKey("/DA",
                              QPDFObjectHandle::newString(defaultAppearance(spec.fontSize).toStdString()));
            if (spec.rightAligned)
                widget.replaceKey("/Q", QPDFObjectHandle::newInteger(RightQuadding));
            if (spec.multiline)
                widget.replaceKey("/Ff", QPDFObjectHandle::newInteger(MultilineFlag));
            widget.replaceKey("/V", QPDFObjectHandle::newString(""));
            widget.replaceKey("/P", page);
            widget = pdf.makeIndirectObject(widget);
            fieldArray.appendItem(widget);
            placed.push_back({spec.box, widget});
        }

        // Annotations, and so the tab order, follow the page: by row, then left to right.
        std::stable_sort(placed.begin(), placed.end(), [](const PlacedWidget& a, const PlacedWidget& b) {
            if (std::abs(a.box.top() - b.box.top()) > 4)
                return a.box.top() < b.box.top();
            return a.box.left() < b.box.left();
        });
        QPDFObjectHandle annots = QPDFObjectHandle::newArray();
        for (const PlacedWidget& p : placed)
            annots.appendItem(p.widget);
        page.replaceKey("/Annots", annots);
        page.replaceKey("/Tabs", QPDFObjectHandle::newName("/R"));

        QPDFObjectHandle acroForm = QPDFObjectHandle::newDictionary();
        acroForm.replaceKey("/Fields", fieldArray);
        acroForm.replaceKey("/DA", QPDFObjectHandle::newString(defaultAppearance(10).toStdString()));
        acroForm.replaceKey("/DR", resources);
        pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(acroForm));

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setDeterministicID(true);
        writer.write();
        std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        output = QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                            static_cast<qsizetype>(buffer->getSize()));
    } catch (const std::exception& e) {
        *error = QString::fromLocal8Bit(e.what());
        return false;
    }
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(output) != output.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace cs42::formgen
