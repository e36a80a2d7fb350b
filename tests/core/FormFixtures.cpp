#include "core/FormFixtures.h"

#include "core/worksheet/Cs42Form.h"

#include <QFile>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <stdexcept>
#include <string>
#include <vector>

namespace cs42::test {

namespace {

// Built by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for "literal" +
// std::string (GCC bug 105651).
QPDFObjectHandle rect(double x, double y, double w, double h)
{
    std::string text = "[";
    for (const double v : {x, y, x + w, y + h}) {
        text += std::to_string(v);
        text += ' ';
    }
    text.back() = ']';
    return QPDFObjectHandle::parse(text);
}

QPDFObjectHandle addPage(QPDF& pdf)
{
    pdf.emptyPDF();
    QPDFObjectHandle page = pdf.makeIndirectObject(
        QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] /Resources << >> >>"));
    page.replaceKey("/Contents", pdf.newStream(std::string("0 g\n")));
    QPDFPageDocumentHelper(pdf).addPage(page, false);
    return QPDFPageDocumentHelper(pdf).getAllPages().front().getObjectHandle();
}

void finish(
    QPDF& pdf, QPDFObjectHandle page, QPDFObjectHandle fields, QPDFObjectHandle annots, const QString& path)
{
    page.replaceKey("/Annots", annots);
    QPDFObjectHandle acroForm = QPDFObjectHandle::parse(
        "<< /DA (/Helv 10 Tf 0 g) /DR << /Font << /Helv << /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
        "/Encoding /WinAnsiEncoding >> >> >> >>");
    acroForm.replaceKey("/Fields", fields);
    acroForm.replaceKey("/NeedAppearances", QPDFObjectHandle::newBool(true));
    pdf.getRoot().replaceKey("/AcroForm", acroForm);
    // The writer keeps the file name until write(): it must outlive the writer.
    const QByteArray fileName = QFile::encodeName(path);
    QPDFWriter writer(pdf, fileName.constData());
    writer.write();
}

QPDFObjectHandle textWidget(QPDFObjectHandle page, double x, double y)
{
    QPDFObjectHandle widget = QPDFObjectHandle::parse("<< /Type /Annot /Subtype /Widget /F 4 >>");
    widget.replaceKey("/Rect", rect(x, y, 100, 14));
    widget.replaceKey("/P", page);
    return widget;
}

} // namespace

void writeTextFieldTemplate(const QString& path, int count)
{
    QPDF pdf;
    QPDFObjectHandle page = addPage(pdf);
    const QStringList names = Cs42Form::formFieldNames();
    std::vector<QPDFObjectHandle> widgets(static_cast<std::size_t>(count));
    for (int i = count; i >= 1; --i) {
        QPDFObjectHandle widget = textWidget(page, 36 + ((i - 1) % 4) * 140, 750 - ((i - 1) / 4) * 18);
        widget.replaceKey("/FT", QPDFObjectHandle::newName("/Tx"));
        const QString name = i <= names.size() ? names[i - 1] : QStringLiteral("F%1").arg(i);
        widget.replaceKey("/T", QPDFObjectHandle::newString(name.toStdString()));
        widgets[static_cast<std::size_t>(i - 1)] = pdf.makeIndirectObject(widget);
    }
    QPDFObjectHandle fields = QPDFObjectHandle::newArray(widgets);
    finish(pdf, page, fields, QPDFObjectHandle::newArray(widgets), path);
}

void writeNestedFieldTemplate(const QString& path, bool namedAsCs42)
{
    const QStringList cs42 = Cs42Form::formFieldNames();
    auto name = [&](const char* generic, int index) {
        return namedAsCs42 ? cs42[index].toStdString() : std::string(generic);
    };
    QPDF pdf;
    QPDFObjectHandle page = addPage(pdf);
    QPDFObjectHandle annots = QPDFObjectHandle::newArray();

    QPDFObjectHandle top = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /FT /Tx >>"));
    if (!namedAsCs42)
        top.replaceKey("/T", QPDFObjectHandle::newString("Top"));
    QPDFObjectHandle topKids = QPDFObjectHandle::newArray();
    for (int k = 0; k < 2; ++k) {
        QPDFObjectHandle kid = textWidget(page, k == 0 ? 36 : 200, 700);
        kid.replaceKey("/T", QPDFObjectHandle::newString(name(k == 0 ? "A" : "B", k)));
        kid.replaceKey("/Parent", top);
        kid = pdf.makeIndirectObject(kid);
        topKids.appendItem(kid);
        annots.appendItem(kid);
    }
    top.replaceKey("/Kids", topKids);

    QPDFObjectHandle twin = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /FT /Tx >>"));
    twin.replaceKey("/T", QPDFObjectHandle::newString(name("Twin", 2)));
    QPDFObjectHandle twinKids = QPDFObjectHandle::newArray();
    for (double x : {36.0, 200.0}) {
        QPDFObjectHandle widget = textWidget(page, x, 650);
        widget.replaceKey("/Parent", twin);
        widget = pdf.makeIndirectObject(widget);
        twinKids.appendItem(widget);
        annots.appendItem(widget);
    }
    twin.replaceKey("/Kids", twinKids);

    QPDFObjectHandle last = textWidget(page, 36, 560);
    last.replaceKey("/Rect", rect(36, 560, 300, 60));
    last.replaceKey("/FT", QPDFObjectHandle::newName("/Tx"));
    last.replaceKey("/T", QPDFObjectHandle::newString(name("Last", 3)));
    last.replaceKey("/Ff", QPDFObjectHandle::newInteger(4096));
    last.replaceKey("/Q", QPDFObjectHandle::newInteger(2));
    last = pdf.makeIndirectObject(last);
    annots.appendItem(last);

    finish(
        pdf, page, QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{top, twin, last}), annots, path);
}

} // namespace cs42::test
