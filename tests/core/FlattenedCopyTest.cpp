#include "core/produce/FlattenedCopy.h"

#include "core/FormFixtures.h"
#include "core/produce/FormFiller.h"
#include "core/worksheet/Cs42Form.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <qpdf/Pl_Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <gtest/gtest.h>

#include <memory>

namespace cs42 {
namespace {

using test::writeTextFieldTemplate;

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the first page of a document is: its annotations, whether the document still has a form,
// and what the page draws, its content streams followed by every form XObject they paint with
// "Do" (where a flattened appearance ends up).
struct FirstPage
{
    bool hasForm = false;
    int annotations = 0;
    QByteArray contents;
    QByteArray drawn;
};

FirstPage readFirstPage(const QString& path)
{
    QPDF pdf;
    pdf.processFile(QFile::encodeName(path).constData());
    FirstPage result;
    result.hasForm = pdf.getRoot().hasKey("/AcroForm");
    QPDFPageObjectHelper page = QPDFPageDocumentHelper(pdf).getAllPages().front();
    QPDFObjectHandle annots = page.getObjectHandle().getKey("/Annots");
    result.annotations = annots.isArray() ? annots.getArrayNItems() : 0;
    Pl_Buffer buffer("contents");
    page.pipeContents(&buffer);
    std::unique_ptr<Buffer> data(buffer.getBuffer());
    result.contents =
        QByteArray(reinterpret_cast<const char*>(data->getBuffer()), static_cast<qsizetype>(data->getSize()));
    result.drawn = result.contents;
    QPDFObjectHandle xobjects = page.getObjectHandle().getKey("/Resources").getKey("/XObject");
    static const QRegularExpression painted(QStringLiteral("/(\\S+)\\s+Do\\b"));
    for (const auto& match : painted.globalMatch(QString::fromLatin1(result.contents))) {
        // Built by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for "literal" +
        // std::string (GCC bug 105651).
        std::string key = "/";
        key += match.captured(1).toStdString();
        QPDFObjectHandle xobject = xobjects.getKey(key);
        if (xobject.isStream()) {
            std::shared_ptr<Buffer> stream = xobject.getStreamData();
            result.drawn += QByteArray(reinterpret_cast<const char*>(stream->getBuffer()),
                                       static_cast<qsizetype>(stream->getSize()));
        }
    }
    return result;
}

class FlattenedCopyTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

TEST_F(FlattenedCopyTest, AProducedFormsValuesAreDrawnIntoThePageAndTheFormIsGone)
{
    writeTextFieldTemplate(path("template.pdf"), static_cast<int>(Cs42Form::formFieldNames().size()));
    Captions captions;
    captions.insert(QStringLiteral("lblCourtFile"), QStringLiteral("DR-2023-000123.00"));
    captions.insert(QStringLiteral("lblP1"), QStringLiteral("4,250"));
    ASSERT_EQ(fillForm(path("template.pdf"), path("produced.pdf"), captions).status, ProduceStatus::Produced);
    const QByteArray produced = readBytes(path("produced.pdf"));

    QString error;
    ASSERT_TRUE(writeFlattenedCopy(path("produced.pdf"), path("copy.pdf"), &error)) << error.toStdString();

    const FirstPage before = readFirstPage(path("produced.pdf"));
    const FirstPage copy = readFirstPage(path("copy.pdf"));
    EXPECT_FALSE(copy.hasForm);
    EXPECT_EQ(copy.annotations, 0);
    EXPECT_GT(copy.contents.size(), before.contents.size());
    EXPECT_FALSE(before.drawn.contains("(4,250) Tj")) << "the blank page draws no value";
    for (const char* value : {"(DR-2023-000123.00) Tj", "(4,250) Tj"})
        EXPECT_TRUE(copy.drawn.contains(value)) << value;
    // The produced form is only read: it keeps its fillable fields.
    EXPECT_EQ(readBytes(path("produced.pdf")), produced);
    EXPECT_TRUE(before.hasForm);
    EXPECT_GT(before.annotations, 0);
}

// A form another program filled and left for the viewer to draw (/NeedAppearances, no /AP).
TEST_F(FlattenedCopyTest, ValuesLeftForTheViewerToDrawAreDrawnToo)
{
    writeTextFieldTemplate(path("template.pdf"), 2);
    {
        QPDF pdf;
        pdf.processFile(QFile::encodeName(path("template.pdf")).constData());
        QPDFObjectHandle field = pdf.getRoot().getKey("/AcroForm").getKey("/Fields").getArrayItem(0);
        field.replaceKey("/V", QPDFObjectHandle::newUnicodeString("Filled elsewhere"));
        const QByteArray out = QFile::encodeName(path("filled.pdf"));
        QPDFWriter writer(pdf, out.constData());
        writer.write();
    }
    ASSERT_TRUE(writeFlattenedCopy(path("filled.pdf"), path("copy.pdf")));
    const FirstPage copy = readFirstPage(path("copy.pdf"));
    EXPECT_FALSE(copy.hasForm);
    EXPECT_EQ(copy.annotations, 0);
    EXPECT_TRUE(copy.drawn.contains("Filled elsewhere"));
}

TEST_F(FlattenedCopyTest, WhatCannotBeCopiedIsSaidAndLeavesNoCopy)
{
    writeTextFieldTemplate(path("form.pdf"), 2);
    QFile text(path("notes.pdf"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a PDF document\n");
    text.close();

    struct Case
    {
        const char* what;
        QString source;
        QString copy;
    };

    const QList<Case> cases = {
        {"no such file", path("missing.pdf"), path("copy1.pdf")},
        {"no PDF document", path("notes.pdf"), path("copy2.pdf")},
        {"no folder for the copy", path("form.pdf"), path("gone/copy3.pdf")},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(writeFlattenedCopy(c.source, c.copy, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_FALSE(QFile::exists(c.copy)) << c.what;
    }
}

} // namespace
} // namespace cs42
