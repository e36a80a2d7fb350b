#include "core/produce/FormTemplate.h"

#include "core/FormFixtures.h"
#include "core/produce/HelveticaMetrics.h"
#include "core/worksheet/Cs42Form.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <gtest/gtest.h>

namespace cs42 {
namespace {

TEST(FormTemplate, ReadsFieldsInFormOrderNotObjectOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.pdf"));
    test::writeTextFieldTemplate(path, 6);
    QString error;
    const auto info = readFormTemplate(path, &error);
    ASSERT_TRUE(info) << error.toStdString();
    EXPECT_EQ(info->pageSize, QSizeF(612, 792));
    ASSERT_EQ(info->fields.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(info->fields[i].index, i + 1);
        EXPECT_EQ(info->fields[i].name, Cs42Form::formFieldNames()[i]);
    }
    EXPECT_EQ(info->fields[0].rect, QRectF(36, 750, 100, 14));
}

TEST(FormTemplate, NestedFieldsGiveTerminalFieldsWithQualifiedNames)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested.pdf"));
    test::writeNestedFieldTemplate(path);
    const auto info = readFormTemplate(path);
    ASSERT_TRUE(info);
    QStringList names;
    for (const FormFieldInfo& field : info->fields)
        names << field.name;
    EXPECT_EQ(names, QStringList({"Top.A", "Top.B", "Twin", "Last"}));
    EXPECT_EQ(info->fields[2].rect, QRectF(36, 650, 100, 14)); // the first of its two widgets
    EXPECT_TRUE(info->fields[3].multiline);
    EXPECT_TRUE(info->fields[3].rightAligned);
    EXPECT_FALSE(info->fields[0].multiline);
    EXPECT_FALSE(info->fields[0].rightAligned);
}

TEST(FormTemplate, MissingOrDamagedFileIsAnErrorNotACrash)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(readFormTemplate(dir.filePath(QStringLiteral("none.pdf")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist"))) << error.toStdString();

    const QString damaged = dir.filePath(QStringLiteral("damaged.pdf"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\nthis is not a PDF body at all\n");
    file.close();
    error.clear();
    EXPECT_FALSE(readFormTemplate(damaged, &error));
    EXPECT_FALSE(error.isEmpty());
}

#ifdef FORMS_DIR
// The installed template: its fields must be exactly the field map of form CS-42, each in the
// printed cell of its line, so that production puts every value in the right box.
class InstalledTemplate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        auto read = readFormTemplate(QStringLiteral(FORMS_DIR "/QUON42.PDF"), &error);
        ASSERT_TRUE(read) << error.toStdString();
        m_info = *read;
        const QStringList labels = Cs42Form::formFieldLabels();
        ASSERT_GE(m_info.fields.size(), labels.size());
        for (qsizetype i = 0; i < labels.size(); ++i)
            m_byLabel.insert(labels[i], m_info.fields[i]);
    }

    QRectF rect(const QString& label) const { return m_byLabel.value(label).rect; }

    FormTemplateInfo m_info;
    QHash<QString, FormFieldInfo> m_byLabel;
};

TEST_F(InstalledTemplate, HasTheFieldMapInOrderOnALetterPage)
{
    EXPECT_EQ(m_info.pageSize, QSizeF(612, 792));
    const QStringList names = {"CourtFile",
                               "CourtType",
                               "County",
                               "PlaintiffName",
                               "DefendantName",
                               "Child1Name",
                               "Child1DOB",
                               "Child4Name",
                               "Child4DOB",
                               "Child2Name",
                               "Child2DOB",
                               "Child5Name",
                               "Child5DOB",
                               "Child3Name",
                               "Child3DOB",
                               "Child6Name",
                               "Child6DOB",
                               "P1",
                               "D1",
                               "P1a",
                               "D1a",
                               "P1b",
                               "D1b",
                               "P2",
                               "D2",
                               "C2",
                               "C4",
                               "C5",
                               "C7",
                               "P8",
                               "D8",
                               "P9",
                               "D9",
                               "P10",
                               "D10",
                               "Comments",
                               "PreparedBy",
                               "DateSigned",
                               "P3",
                               "D3",
                               "C6"};
    ASSERT_EQ(m_info.fields.size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const FormFieldInfo& field = m_info.fields[i];
        EXPECT_EQ(field.name, names[i]) << "field " << i + 1;
        const bool money = (i + 1 >= 18 && i + 1 <= 35) || i + 1 >= 39;
        EXPECT_EQ(field.rightAligned, money) << "field " << i + 1;
        EXPECT_EQ(field.multiline, i + 1 == 36) << "field " << i + 1;
        EXPECT_TRUE(QRectF(QPointF(0, 0), m_info.pageSize).contains(field.rect)) << "field " << i + 1;
        EXPECT_GE(field.rect.height(), 12) << "field " << i + 1;
        for (qsizetype j = 0; j < i; ++j)
            EXPECT_FALSE(field.rect.intersects(m_info.fields[j].rect))
                << "fields " << j + 1 << " and " << i + 1;
    }
}

TEST_F(InstalledTemplate, CellsFollowThePrintedLayout)
{
    // PDF coordinates: a larger y is higher on the page.
    const QStringList downThePage = {"lblCourtFile",  "lblCourtType",  "lblName1Name", "lblChild1Name",
                                     "lblChild2Name", "lblChild3Name", "lblP1",        "lblP1a",
                                     "lblP1b",        "lblP2",         "lblP3",        "lblC4",
                                     "lblC5",         "lblC6",         "lblC7",        "lblP8",
                                     "lblP9",         "lblP10",        "lblComments",  "lblPreparedBy"};
    for (qsizetype i = 1; i < downThePage.size(); ++i)
        EXPECT_GT(rect(downThePage[i - 1]).center().y(), rect(downThePage[i]).center().y())
            << downThePage[i].toStdString();

    const QList<QStringList> rowsLeftToRight = {
        {"lblCourtType", "lblCounty"},
        {"lblName1Name", "lblName2Name"},
        {"lblChild1Name", "lblChild1DOB", "lblChild4Name", "lblChild4DOB"},
        {"lblChild3Name", "lblChild3DOB", "lblChild6Name", "lblChild6DOB"},
        {"lblP1", "lblD1"},
        {"lblP2", "lblD2", "lblC2"},
        {"lblP3", "lblD3"},
        {"lblP10", "lblD10"},
        {"lblPreparedBy", "lblDateSigned"}};
    for (const QStringList& row : rowsLeftToRight) {
        for (qsizetype i = 1; i < row.size(); ++i) {
            EXPECT_NEAR(rect(row[i - 1]).center().y(), rect(row[i]).center().y(), 0.5)
                << row[i].toStdString();
            EXPECT_LT(rect(row[i - 1]).right(), rect(row[i]).left()) << row[i].toStdString();
        }
    }
    // The three money columns line up from line 1 to line 10.
    EXPECT_NEAR(rect("lblP1").left(), rect("lblP10").left(), 0.5);
    EXPECT_NEAR(rect("lblD1").right(), rect("lblD9").right(), 0.5);
    EXPECT_NEAR(rect("lblC2").right(), rect("lblC7").right(), 0.5);
}

TEST_F(InstalledTemplate, TabOrderFollowsThePage)
{
    QPDF pdf;
    pdf.processFile(FORMS_DIR "/QUON42.PDF");
    QPDFObjectHandle page = QPDFPageDocumentHelper(pdf).getAllPages().front().getObjectHandle();
    EXPECT_TRUE(page.getKey("/Tabs").isNameAndEquals("/R"));
    QPDFObjectHandle annots = page.getKey("/Annots");
    ASSERT_EQ(annots.getArrayNItems(), 41);
    double previousTop = 1e9;
    for (int i = 0; i < annots.getArrayNItems(); ++i) {
        const double top = annots.getArrayItem(i).getKey("/Rect").getArrayAsRectangle().ury;
        EXPECT_LE(top, previousTop + 4) << "annotation " << i;
        previousTop = top;
    }
}

TEST_F(InstalledTemplate, DefaultAppearanceIsHelveticaThatFitsItsBox)
{
    QPDF pdf;
    pdf.processFile(FORMS_DIR "/QUON42.PDF");
    QPDFObjectHandle acroForm = pdf.getRoot().getKey("/AcroForm");
    EXPECT_EQ(acroForm.getKey("/DR").getKey("/Font").getKey("/Helv").getKey("/BaseFont").getName(),
              "/Helvetica");
    QPDFObjectHandle fields = acroForm.getKey("/Fields");
    ASSERT_EQ(fields.getArrayNItems(), 41);
    const QRegularExpression helv(QStringLiteral("^/Helv ([0-9.]+) Tf"));
    for (int i = 0; i < fields.getArrayNItems(); ++i) {
        QPDFObjectHandle field = fields.getArrayItem(i);
        const QString da = QString::fromStdString(field.getKey("/DA").getUTF8Value());
        const auto match = helv.match(da);
        ASSERT_TRUE(match.hasMatch()) << "field " << i + 1 << ": " << da.toStdString();
        const double size = match.captured(1).toDouble();
        const double height = m_info.fields[i].rect.height();
        EXPECT_GE(size, 8) << "field " << i + 1 << " is readable";
        // The glyphs from ascent to descent, with the box's point of padding on each side.
        EXPECT_LE(size * (HelveticaAscent - HelveticaDescent) + 2, height) << "field " << i + 1;
    }
}
#endif

} // namespace
} // namespace cs42
