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

#include <ostream>
#include <string>

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

// The blank forms printed from the court's workbooks, CS-42 (Rev. 5/2022) and CS-42-S (effective
// 6/2023): the court's field names in the court's order, each in the printed cell of its line, so
// that the worksheet's labels and the values a viewer draws sit where the court prints them.
class CourtFormTemplate : public ::testing::Test
{
protected:
    explicit CourtFormTemplate(const char* path)
        : m_path(path)
    {}

    void SetUp() override
    {
        QString error;
        auto read = readFormTemplate(QLatin1String(m_path), &error);
        ASSERT_TRUE(read) << error.toStdString();
        m_info = *read;
        for (const FormFieldInfo& field : m_info.fields)
            m_byName.insert(field.name, field);
    }

    QRectF rect(const QString& name) const
    {
        EXPECT_TRUE(m_byName.contains(name)) << name.toStdString();
        return m_byName.value(name).rect;
    }

    // PDF coordinates: a larger y is higher on the page. The rows of fields top to bottom, each
    // wholly below the row before, and the fields of a row level with each other, left to right.
    void expectRowsDownThePage(const QList<QStringList>& rows) const
    {
        for (qsizetype l = 0; l < rows.size(); ++l) {
            const QStringList& row = rows[l];
            if (l > 0) {
                EXPECT_LT(rect(row[0]).bottom(), rect(rows[l - 1][0]).top()) << row[0].toStdString();
            }
            for (qsizetype i = 1; i < row.size(); ++i) {
                EXPECT_NEAR(rect(row[i - 1]).center().y(), rect(row[i]).center().y(), 0.5)
                    << row[i].toStdString();
                EXPECT_LT(rect(row[i - 1]).right(), rect(row[i]).left()) << row[i].toStdString();
            }
        }
    }

    const char* m_path;
    FormTemplateInfo m_info;
    QHash<QString, FormFieldInfo> m_byName;
};

constexpr const char* Rev2022Path = FORMS_DIR "/CS42_2022.PDF";
constexpr const char* Cs42SPath = FORMS_DIR "/CS42S_2023.PDF";

// The names of the court's fillable PDF, misspellings included.
const QStringList Rev2022Names = {"Case Number",
                                  "Circuit or District",
                                  "Name of County",
                                  "Plaintiff",
                                  "Defendant",
                                  "Number of Children",
                                  "Child 1",
                                  "Child 2",
                                  "Child 3",
                                  "Child 4",
                                  "Child 5",
                                  "Child 6",
                                  "Date of Birth Child 1",
                                  "Date of Birth Child 2",
                                  "Date of Birth Child 3",
                                  "Date of Birth Child 4",
                                  "Date of Birth Child 5",
                                  "Date of Birth Child 6",
                                  "PGI",
                                  "DGI",
                                  "CI",
                                  "PECSP",
                                  "DECSP",
                                  "CCSP",
                                  "PAP",
                                  "DAP",
                                  "CAP",
                                  "PAGI",
                                  "DAGI",
                                  "CAGI",
                                  "P%",
                                  "D%",
                                  "CBCSA",
                                  "PWRCCC",
                                  "DWRCCC",
                                  "CWRCC",
                                  "PHCCC",
                                  "DHCCC",
                                  "CHCCC",
                                  "CCSO",
                                  "PCSO",
                                  "Defendant Child Support Obligation",
                                  "Plaintiff Total Costs Paid",
                                  "Defendant Total Costs Paid",
                                  "Plaintiff Obligation Before Consideration",
                                  "Defendant Obligation Before Consideration",
                                  "Plaintiff Income Available",
                                  "Defendant Income Available",
                                  "Plaintiff Max Recommended Child Support After SSR",
                                  "Defendant Max Recommended Child Support",
                                  "Plaintiff Recommended Child Support AMount",
                                  "Defendant Recommended Child Support Amount",
                                  "Prepared By",
                                  "Date",
                                  "Comments, Calculation,s or Rebuttals to Guidelines"};

// Form CS-42-S: lines 6 and 7 have no combined amount, line 3's combined cell is the printed
// "100 %", and lines 4, 5 and 9 have only the combined one.
const QStringList Cs42SNames = {"Case Number",
                                "Circuit or District",
                                "Name of County",
                                "Plaintiff",
                                "Defendant",
                                "Number of Children",
                                "Child 1",
                                "Child 2",
                                "Child 3",
                                "Child 4",
                                "Child 5",
                                "Child 6",
                                "Date of Birth Child 1",
                                "Date of Birth Child 2",
                                "Date of Birth Child 3",
                                "Date of Birth Child 4",
                                "Date of Birth Child 5",
                                "Date of Birth Child 6",
                                "PGI",
                                "DGI",
                                "CI",
                                "PECSP",
                                "DECSP",
                                "CCSP",
                                "PAP",
                                "DAP",
                                "CAP",
                                "PAGI",
                                "DAGI",
                                "CAGI",
                                "P%",
                                "D%",
                                "CBCSA",
                                "Shared Child Support Obligation",
                                "PWRCCC",
                                "DWRCCC",
                                "PHCCC",
                                "DHCCC",
                                "Plaintiff Total Costs",
                                "Defendant Total Costs",
                                "Combined Total Costs",
                                "CCSO",
                                "PCSO",
                                "Defendant Child Support Obligation",
                                "Plaintiff Total Costs Paid",
                                "Defendant Total Costs Paid",
                                "Plaintiff Shared Custody Credit",
                                "Defendant Shared Custody Credit",
                                "Plaintiff Adjusted Obligation",
                                "Defendant Adjusted Obligation",
                                "Plaintiff Recommended Child Support Amount",
                                "Defendant Recommended Child Support Amount",
                                "Prepared By",
                                "Date",
                                "Comments, Calculations, or Rebuttals to Guidelines"};

struct BlankCourtForm
{
    const char* form; // names the test
    const char* path;
    const QStringList* names;
};

void PrintTo(const BlankCourtForm& form, std::ostream* out)
{
    *out << form.form;
}

class FormTemplateCourtForm : public CourtFormTemplate, public ::testing::WithParamInterface<BlankCourtForm>
{
protected:
    FormTemplateCourtForm()
        : CourtFormTemplate(GetParam().path)
    {}

    const QStringList& names() const { return *GetParam().names; }
};

INSTANTIATE_TEST_SUITE_P(Forms,
                         FormTemplateCourtForm,
                         ::testing::Values(BlankCourtForm{"Rev2022", Rev2022Path, &Rev2022Names},
                                           BlankCourtForm{"Cs42S", Cs42SPath, &Cs42SNames}),
                         [](const ::testing::TestParamInfo<BlankCourtForm>& form) {
                             return std::string(form.param.form);
                         });

// The eighteen fields of the caption and the children come first, who prepared the form, the
// date and the comments last; all between are amounts.
TEST_P(FormTemplateCourtForm, HasTheCourtsFieldsInOrderOnOneLetterPage)
{
    QPDF pdf;
    pdf.processFile(m_path);
    EXPECT_EQ(QPDFPageDocumentHelper(pdf).getAllPages().size(), 1u);
    EXPECT_EQ(m_info.pageSize, QSizeF(612, 792));

    ASSERT_EQ(m_info.fields.size(), names().size());
    const QRectF page(QPointF(0, 0), m_info.pageSize);
    for (qsizetype i = 0; i < names().size(); ++i) {
        const FormFieldInfo& field = m_info.fields[i];
        EXPECT_EQ(field.name, names()[i]) << "field " << i + 1;
        const bool amount = i >= 18 && i < names().size() - 3;
        EXPECT_EQ(field.rightAligned, amount) << field.name.toStdString();
        EXPECT_EQ(field.multiline, field.name.startsWith(QLatin1String("Comments")))
            << field.name.toStdString();
        EXPECT_TRUE(page.contains(field.rect)) << field.name.toStdString();
        for (qsizetype j = 0; j < i; ++j)
            EXPECT_FALSE(field.rect.intersects(m_info.fields[j].rect))
                << m_info.fields[j].name.toStdString() << " and " << field.name.toStdString();
    }
}

TEST_P(FormTemplateCourtForm, EveryBoxHoldsItsValueAtItsFontSize)
{
    QPDF pdf;
    pdf.processFile(m_path);
    QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
    ASSERT_EQ(fields.getArrayNItems(), m_info.fields.size());
    const QRegularExpression helv(QStringLiteral("^/Helv ([0-9.]+) Tf"));
    for (int i = 0; i < fields.getArrayNItems(); ++i) {
        const FormFieldInfo& field = m_info.fields[i];
        QPDFObjectHandle widget = fields.getArrayItem(i);
        EXPECT_FALSE(widget.getKey("/TU").getUTF8Value().empty()) << field.name.toStdString() << " tooltip";
        const auto match = helv.match(QString::fromStdString(widget.getKey("/DA").getUTF8Value()));
        ASSERT_TRUE(match.hasMatch()) << field.name.toStdString();
        const double size = match.captured(1).toDouble();
        EXPECT_GE(size, 9) << field.name.toStdString();
        EXPECT_LE(size * (HelveticaAscent - HelveticaDescent) + 2, field.rect.height())
            << field.name.toStdString();
        // The widest amount the worksheet shows, with a viewer's two points of padding each side.
        if (field.rightAligned) {
            EXPECT_LE(helveticaTextWidth("(12,345)", size) + 4, field.rect.width())
                << field.name.toStdString();
        }
    }
    EXPECT_GE(rect(names().last()).height(), 2 * 9 * 1.15) << "two lines of comments";
}

class FormTemplateRev2022 : public CourtFormTemplate
{
protected:
    FormTemplateRev2022()
        : CourtFormTemplate(Rev2022Path)
    {}
};

TEST_F(FormTemplateRev2022, CellsFollowThePrintedLayout)
{
    expectRowsDownThePage(
        {{"Case Number"},
         {"Circuit or District", "Name of County"},
         {"Plaintiff", "Defendant"},
         {"Child 1", "Date of Birth Child 1", "Child 4", "Date of Birth Child 4"},
         {"Child 2", "Date of Birth Child 2", "Child 5", "Date of Birth Child 5"},
         {"Child 3", "Date of Birth Child 3", "Child 6", "Date of Birth Child 6"},
         {"Number of Children"},
         {"PGI", "DGI", "CI"},
         {"PECSP", "DECSP", "CCSP"},
         {"PAP", "DAP", "CAP"},
         {"PAGI", "DAGI", "CAGI"},
         {"P%", "D%"},
         {"CBCSA"},
         {"PWRCCC", "DWRCCC", "CWRCC"},
         {"PHCCC", "DHCCC", "CHCCC"},
         {"CCSO"},
         {"PCSO", "Defendant Child Support Obligation"},
         {"Plaintiff Total Costs Paid", "Defendant Total Costs Paid"},
         {"Plaintiff Obligation Before Consideration", "Defendant Obligation Before Consideration"},
         {"Plaintiff Income Available", "Defendant Income Available"},
         {"Plaintiff Max Recommended Child Support After SSR", "Defendant Max Recommended Child Support"},
         {"Plaintiff Recommended Child Support AMount", "Defendant Recommended Child Support Amount"},
         {"Comments, Calculation,s or Rebuttals to Guidelines"},
         {"Prepared By", "Date"}});
    // The money columns: the plaintiff, defendant and combined cells of every line line up.
    for (const char* name : {"DGI", "D%", "DHCCC", "Defendant Recommended Child Support Amount"}) {
        EXPECT_LT(rect("PGI").right(), rect(name).left()) << name;
        EXPECT_GT(rect("CI").left(), rect(name).right()) << name;
    }
    for (const char* name : {"PECSP", "PWRCCC", "Plaintiff Recommended Child Support AMount"})
        EXPECT_NEAR(rect("PGI").right(), rect(name).right(), 0.5) << name;
    for (const char* name : {"CCSP", "CBCSA", "CCSO"})
        EXPECT_NEAR(rect("CI").right(), rect(name).right(), 0.5) << name;
    // Line 3 prints "%" at the right of the plaintiff's cell; the value stays left of it.
    EXPECT_LT(rect("P%").right(), rect("PGI").right() - 5);
}

class FormTemplateCs42S : public CourtFormTemplate
{
protected:
    FormTemplateCs42S()
        : CourtFormTemplate(Cs42SPath)
    {}
};

TEST_F(FormTemplateCs42S, CellsFollowThePrintedLayout)
{
    expectRowsDownThePage(
        {{"Case Number"},
         {"Circuit or District", "Name of County"},
         {"Plaintiff", "Defendant"},
         {"Child 1", "Date of Birth Child 1", "Child 4", "Date of Birth Child 4"},
         {"Child 2", "Date of Birth Child 2", "Child 5", "Date of Birth Child 5"},
         {"Child 3", "Date of Birth Child 3", "Child 6", "Date of Birth Child 6"},
         {"Number of Children"},
         {"PGI", "DGI", "CI"},
         {"PECSP", "DECSP", "CCSP"},
         {"PAP", "DAP", "CAP"},
         {"PAGI", "DAGI", "CAGI"},
         {"P%", "D%"},
         {"CBCSA"},
         {"Shared Child Support Obligation"},
         {"PWRCCC", "DWRCCC"},
         {"PHCCC", "DHCCC"},
         {"Plaintiff Total Costs", "Defendant Total Costs", "Combined Total Costs"},
         {"CCSO"},
         {"PCSO", "Defendant Child Support Obligation"},
         {"Plaintiff Total Costs Paid", "Defendant Total Costs Paid"},
         {"Plaintiff Shared Custody Credit", "Defendant Shared Custody Credit"},
         {"Plaintiff Adjusted Obligation", "Defendant Adjusted Obligation"},
         {"Plaintiff Recommended Child Support Amount", "Defendant Recommended Child Support Amount"},
         {"Comments, Calculations, or Rebuttals to Guidelines"},
         {"Prepared By", "Date"}});
    // Each amount sits in the value cell of its column: the plaintiff's, the defendant's and the
    // combined values end level from line 1 to line 14, and a column's cells share one width.
    const QList<QStringList> columns = {
        {"PGI",
         "PECSP",
         "PAGI",
         "PWRCCC",
         "PHCCC",
         "Plaintiff Total Costs",
         "PCSO",
         "Plaintiff Shared Custody Credit",
         "Plaintiff Recommended Child Support Amount"},
        {"DGI",
         "DAP",
         "DWRCCC",
         "Defendant Total Costs",
         "Defendant Total Costs Paid",
         "Defendant Adjusted Obligation",
         "Defendant Recommended Child Support Amount"},
        {"CI", "CAGI", "CBCSA", "Shared Child Support Obligation", "Combined Total Costs", "CCSO"}};
    for (const QStringList& column : columns) {
        for (const QString& name : column) {
            EXPECT_NEAR(rect(column[0]).right(), rect(name).right(), 0.5) << name.toStdString();
            EXPECT_NEAR(rect(column[0]).width(), rect(name).width(), 0.5) << name.toStdString();
        }
    }
    EXPECT_LT(rect("PGI").right(), rect("DGI").left());
    EXPECT_LT(rect("DGI").right(), rect("CI").left());
    // Line 3 prints "%" at the right of each parent's cell; the value stays left of it.
    EXPECT_LT(rect("P%").right(), rect("PGI").right() - 5);
    EXPECT_LT(rect("D%").right(), rect("DGI").right() - 5);
}

} // namespace
} // namespace cs42
