#include "core/produce/FormFiller.h"

#include "core/FormFixtures.h"
#include "core/worksheet/Cs42Form.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <gtest/gtest.h>

#include <unistd.h>

namespace cs42 {
namespace {

// The messages are compared with the literal texts the user must see.
const QString SaveFailedText = QStringLiteral(
    "You clicked on the 'Produce Form' button, but received this message instead of the form you "
    "wanted.\r\n\r\n"
    "This is probably because you did not close the 'VTRPDF.PDF' file before trying to produce another one.  "
    "Check to make sure that the 'VTRPDF.PDF' form is not open, and then try producing this form "
    "again.\r\n\r\n"
    "If you still receive this message, please contact Tessaly (www.tessaly.example).");

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A distinct caption for every label of the field map, as a worksheet would display them.
Captions sampleCaptions()
{
    Captions captions;
    const QStringList labels = Cs42Form::formFieldLabels();
    for (qsizetype i = 0; i < labels.size(); ++i)
        captions.insert(labels[i], QString::number(1000 + i));
    captions.insert(QStringLiteral("lblCourtFile"), QStringLiteral("DR-2023-000123.00"));
    captions.insert(QStringLiteral("lblName1Name"), QStringLiteral("Jane O'Neil (Smith)"));
    captions.insert(QStringLiteral("lblName2Name"), QStringLiteral("José Müller \\ Jr."));
    captions.insert(QStringLiteral("lblChild1DOB"), QStringLiteral("03/14/2015"));
    captions.insert(QStringLiteral("lblP10"), QString()); // a zero line shows nothing
    captions.insert(QStringLiteral("lblComments"), QStringLiteral("First line.\r\nSecond line."));
    captions.insert(QStringLiteral("lblCustody"), QStringLiteral("PLAINTIFF")); // never sent to the form
    return captions;
}

// What a produced file holds, read with QPDF straight from /AcroForm /Fields (the fixtures and the
// template list their fields flat, in field order).
struct ProducedField
{
    QString name;
    QString value;
    QList<QByteArray> appearances; // the /AP /N content of each widget, empty when missing
};

QList<ProducedField> readProduced(const QString& path, bool* needAppearances = nullptr)
{
    QPDF pdf;
    pdf.processFile(QFile::encodeName(path).constData());
    QPDFObjectHandle acroForm = pdf.getRoot().getKey("/AcroForm");
    if (needAppearances)
        *needAppearances = acroForm.getKey("/NeedAppearances").isBool() &&
                           acroForm.getKey("/NeedAppearances").getBoolValue();
    QList<ProducedField> out;
    QPDFObjectHandle fields = acroForm.getKey("/Fields");
    for (int i = 0; i < fields.getArrayNItems(); ++i) {
        QPDFObjectHandle field = fields.getArrayItem(i);
        ProducedField produced;
        produced.name = QString::fromStdString(field.getKey("/T").getUTF8Value());
        produced.value = QString::fromStdString(field.getKey("/V").getUTF8Value());
        QList<QPDFObjectHandle> widgets;
        if (field.getKey("/Kids").isArray()) {
            for (int k = 0; k < field.getKey("/Kids").getArrayNItems(); ++k)
                widgets.append(field.getKey("/Kids").getArrayItem(k));
        } else {
            widgets.append(field);
        }
        for (QPDFObjectHandle widget : widgets) {
            QPDFObjectHandle normal = widget.getKey("/AP").getKey("/N");
            QByteArray content;
            if (normal.isStream()) {
                std::shared_ptr<Buffer> data = normal.getStreamData();
                content = QByteArray(reinterpret_cast<const char*>(data->getBuffer()),
                                     static_cast<qsizetype>(data->getSize()));
            }
            produced.appearances.append(content);
        }
        out.append(produced);
    }
    return out;
}

class FormFiller : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

TEST_F(FormFiller, FillsTheMapInFormOrderAndNumbersTheFieldsBeyondIt)
{
    const QString templatePath = path(QStringLiteral("QUON42.PDF"));
    test::writeTextFieldTemplate(templatePath, 45);
    const QByteArray templateBytes = readBytes(templatePath);
    const Captions captions = sampleCaptions();

    const ProduceResult result = fillForm(templatePath, path(QStringLiteral("VTRPDF.PDF")), captions);
    ASSERT_EQ(result.status, ProduceStatus::Produced) << result.text.toStdString();
    EXPECT_EQ(result.fieldCount, 45);
    EXPECT_TRUE(result.title.isEmpty());
    EXPECT_TRUE(result.text.isEmpty());

    bool needAppearances = true;
    const QList<ProducedField> fields = readProduced(path(QStringLiteral("VTRPDF.PDF")), &needAppearances);
    ASSERT_EQ(fields.size(), 45);
    const QStringList labels = Cs42Form::formFieldLabels();
    for (int i = 0; i < 45; ++i) {
        EXPECT_EQ(fields[i].name, i < 41 ? Cs42Form::formFieldNames()[i] : QStringLiteral("F%1").arg(i + 1));
        const QString expected = i < 41 ? captions.value(labels[i]) : QStringLiteral(" %1").arg(i + 1);
        EXPECT_EQ(fields[i].value, expected) << "field " << i + 1;
        ASSERT_EQ(fields[i].appearances.size(), 1);
        EXPECT_TRUE(fields[i].appearances[0].startsWith("/Tx BMC")) << "field " << i + 1;
    }
    EXPECT_TRUE(fields[43].appearances[0].contains("( 44) Tj"));
    EXPECT_FALSE(needAppearances) << "every widget carries its own appearance";
    EXPECT_EQ(readBytes(templatePath), templateBytes) << "the template is never modified";
}

TEST_F(FormFiller, FillsAShortTemplateAsFarAsItsFieldsGo)
{
    const QString templatePath = path(QStringLiteral("short.pdf"));
    test::writeTextFieldTemplate(templatePath, 5);
    const ProduceResult result = fillForm(templatePath, path(QStringLiteral("out.pdf")), sampleCaptions());
    ASSERT_EQ(result.status, ProduceStatus::Produced);
    EXPECT_EQ(result.fieldCount, 5);
    const QList<ProducedField> fields = readProduced(path(QStringLiteral("out.pdf")));
    ASSERT_EQ(fields.size(), 5);
    EXPECT_EQ(fields[4].value, QStringLiteral("José Müller \\ Jr."));
}

TEST_F(FormFiller, FieldShownByTwoWidgetsGetsBothAppearancesAndNestedFieldsFollowFormOrder)
{
    const QString templatePath = path(QStringLiteral("nested.pdf"));
    test::writeNestedFieldTemplate(templatePath, true);
    const ProduceResult result = fillForm(templatePath, path(QStringLiteral("out.pdf")), sampleCaptions());
    ASSERT_EQ(result.status, ProduceStatus::Produced);
    EXPECT_EQ(result.fieldCount, 4);

    QPDF pdf;
    pdf.processFile(QFile::encodeName(path(QStringLiteral("out.pdf"))).constData());
    QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
    QPDFObjectHandle top = fields.getArrayItem(0);
    EXPECT_EQ(top.getKey("/Kids").getArrayItem(0).getKey("/V").getUTF8Value(), "DR-2023-000123.00");
    EXPECT_EQ(top.getKey("/Kids").getArrayItem(1).getKey("/V").getUTF8Value(), "1001");
    QPDFObjectHandle twin = fields.getArrayItem(1);
    EXPECT_EQ(twin.getKey("/V").getUTF8Value(), "1002");
    for (int k = 0; k < 2; ++k)
        EXPECT_TRUE(twin.getKey("/Kids").getArrayItem(k).getKey("/AP").getKey("/N").isStream())
            << "widget " << k;
    EXPECT_EQ(fields.getArrayItem(2).getKey("/V").getUTF8Value(), "Jane O'Neil (Smith)");
}

// A copy of `source` whose /AcroForm /Fields entries `first` and `second` (0-based) trade places,
// as a tool that saves the form again may list them; or, with `second` < 0, whose field `first`
// is renamed.
void writeReorderedCopy(const QString& source, const QString& target, int first, int second)
{
    QPDF pdf;
    pdf.processFile(QFile::encodeName(source).constData());
    QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
    if (second >= 0) {
        QPDFObjectHandle a = fields.getArrayItem(first);
        fields.setArrayItem(first, fields.getArrayItem(second));
        fields.setArrayItem(second, a);
    } else {
        fields.getArrayItem(first).replaceKey("/T", QPDFObjectHandle::newString("Text5"));
    }
    const QByteArray fileName = QFile::encodeName(target);
    QPDFWriter writer(pdf, fileName.constData());
    writer.write();
}

// One page and no form at all.
void writeFormlessPdf(const QString& target)
{
    QPDF pdf;
    pdf.emptyPDF();
    QPDFPageDocumentHelper(pdf).addPage(
        pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>")), false);
    const QByteArray fileName = QFile::encodeName(target);
    QPDFWriter writer(pdf, fileName.constData());
    writer.write();
}

TEST_F(FormFiller, RefusesATemplateWhoseFieldsAreOutOfPlaceOrMissing)
{
    const QString good = path(QStringLiteral("good.pdf"));
    test::writeTextFieldTemplate(good, 41);
    const QString swapped = path(QStringLiteral("swapped.pdf"));
    writeReorderedCopy(good, swapped, 17, 18); // P1 and D1: the parents' incomes would trade places
    const QString renamed = path(QStringLiteral("renamed.pdf"));
    writeReorderedCopy(good, renamed, 4, -1);
    const QString formless = path(QStringLiteral("formless.pdf"));
    writeFormlessPdf(formless);
    const QString advice = QStringLiteral("\r\n\r\nPlease reinstall this program.  If this situation "
                                          "continues, please contact Tessaly (www.tessaly.example).");

    const QString outputPath = path(QStringLiteral("VTRPDF.PDF"));
    QFile earlier(outputPath);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("%PDF-1.4 the form produced last time");
    earlier.close();

    const struct
    {
        QString templatePath;
        QString text;
    } cases[] = {
        {swapped,
         QStringLiteral("The file '") + swapped +
             QStringLiteral("' is not the blank form CS-42: its field 18 is named 'D1' where the form has "
                            "the field 'P1', so no form was produced.") +
             advice},
        {renamed,
         QStringLiteral("The file '") + renamed +
             QStringLiteral("' is not the blank form CS-42: its field 5 is named 'Text5' where the form "
                            "has the field 'DefendantName', so no form was produced.") +
             advice},
        {formless,
         QStringLiteral("The file '") + formless +
             QStringLiteral("' holds no form fields, so it is not the blank form CS-42 and no form was "
                            "produced.") +
             advice},
    };

    for (const auto& c : cases) {
        const ProduceResult result = fillForm(c.templatePath, outputPath, sampleCaptions());
        EXPECT_EQ(result.status, ProduceStatus::TemplateMismatch) << c.templatePath.toStdString();
        EXPECT_EQ(result.title, QStringLiteral("Unable to Produce Form"));
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(readBytes(outputPath), QByteArray("%PDF-1.4 the form produced last time"));
    }
    EXPECT_EQ(fillForm(good, outputPath, sampleCaptions()).status, ProduceStatus::Produced);
}

TEST_F(FormFiller, RefusesACaptionLongerThanItsFieldHolds)
{
    const QString templatePath = path(QStringLiteral("QUON42.PDF"));
    test::writeTextFieldTemplate(templatePath, 41);
    const QString outputPath = path(QStringLiteral("VTRPDF.PDF"));

    Captions captions = sampleCaptions();
    captions.insert(QStringLiteral("lblComments"), QString(2001, QLatin1Char('x')));
    ProduceResult result = fillForm(templatePath, outputPath, captions);
    EXPECT_EQ(result.status, ProduceStatus::CaptionTooLong);
    EXPECT_EQ(result.title, QStringLiteral("Unable to Produce Form"));
    EXPECT_EQ(result.text,
              QStringLiteral("The text for the field 'Comments' (field 36 of the form) is 2,001 characters "
                             "long, but that field holds at most 2,000 characters, so no form was "
                             "produced.\r\n\r\nShorten that text on the worksheet, and then try "
                             "producing this form again."));
    EXPECT_FALSE(QFile::exists(outputPath));

    captions.insert(QStringLiteral("lblComments"), QString(2000, QLatin1Char('x')));
    captions.insert(QStringLiteral("lblCounty"), QString(256, QLatin1Char('c')));
    result = fillForm(templatePath, outputPath, captions);
    EXPECT_EQ(result.status, ProduceStatus::CaptionTooLong);
    EXPECT_TRUE(result.text.startsWith(QStringLiteral("The text for the field 'County' (field 3 of the form) "
                                                      "is 256 characters long, but that field holds at "
                                                      "most 255 characters")))
        << result.text.toStdString();

    // The longest texts the fields hold are produced, the comments wrapped into their box.
    captions.insert(QStringLiteral("lblCounty"), QString(255, QLatin1Char('c')));
    ASSERT_EQ(fillForm(templatePath, outputPath, captions).status, ProduceStatus::Produced);
    EXPECT_EQ(readProduced(outputPath).at(35).value, QString(2000, QLatin1Char('x')));
}

TEST_F(FormFiller, MissingTemplateGivesItsMessageAndWritesNothing)
{
    const QString templatePath = path(QStringLiteral("VTRForms/QUON42.PDF"));
    const ProduceResult result = fillForm(templatePath, path(QStringLiteral("VTRPDF.PDF")), sampleCaptions());
    EXPECT_EQ(result.status, ProduceStatus::MissingTemplate);
    EXPECT_EQ(result.title, QString()); // the program's default title
    EXPECT_EQ(result.text, QStringLiteral("The file '") + templatePath + QStringLiteral("' does not exist!"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("VTRPDF.PDF"))));
}

TEST_F(FormFiller, FailedSaveNamesTheMissingFolder)
{
    const QString templatePath = path(QStringLiteral("QUON42.PDF"));
    test::writeTextFieldTemplate(templatePath, 41);
    // A folder that is not there, and a path through a regular file: no folder to save in either way.
    QFile regular(path(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(regular.open(QIODevice::WriteOnly));
    regular.close();

    for (const QString& folder :
         {path(QStringLiteral("no-such-folder")), path(QStringLiteral("not-a-folder"))}) {
        const QString outputPath = folder + QStringLiteral("/VTRPDF.PDF");
        const ProduceResult result = fillForm(templatePath, outputPath, sampleCaptions());
        EXPECT_EQ(result.status, ProduceStatus::SaveFailed) << outputPath.toStdString();
        EXPECT_EQ(result.title, QStringLiteral("Unable to Produce Form"));
        EXPECT_EQ(result.text,
                  QStringLiteral("You clicked on the 'Produce Form' button, but the form could not be saved "
                                 "as '") +
                      outputPath + QStringLiteral("', because there is no folder '") + folder +
                      QStringLiteral("' to save it in.\r\n\r\nCheck that the folder is there (a network "
                                     "drive may have been disconnected), and then try producing this form "
                                     "again."));
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name),
              QStringList({"QUON42.PDF", "not-a-folder"}))
        << "no temporary file is left behind";
}

TEST_F(FormFiller, FailedSaveNamesTheFolderWithoutPermission)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root from writing";
    const QString templatePath = path(QStringLiteral("QUON42.PDF"));
    test::writeTextFieldTemplate(templatePath, 41);
    const QString folder = path(QStringLiteral("read-only"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString outputPath = folder + QStringLiteral("/VTRPDF.PDF");
    const ProduceResult result = fillForm(templatePath, outputPath, sampleCaptions());
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result.status, ProduceStatus::SaveFailed);
    EXPECT_EQ(result.text, saveFailedMessage(SaveFailureCause::FolderNotWritable, outputPath, QString()));
}

TEST(SaveFailure, CauseFollowsTheErrorAndWhatTheFileSystemShows)
{
    struct Case
    {
        QFileDevice::FileError error;
        bool folderExists, folderWritable, fileExists, fileWritable;
        SaveFailureCause cause;
    };

    using E = QFileDevice;
    using C = SaveFailureCause;
    const Case cases[] = {
        {E::RenameError, true, true, true, true, C::FileInUse},
        {E::OpenError, false, false, false, false, C::FolderMissing},
        {E::RenameError, false, true, true, true, C::FolderMissing},
        {E::OpenError, true, false, false, false, C::FolderNotWritable},
        {E::WriteError, true, true, true, false, C::FileNotWritable}, // "Existing file is not writable"
        {E::ResourceError, true, true, true, true, C::DiskFull},      // ENOSPC while writing
        {E::WriteError, true, true, false, false, C::Other},
        {E::OpenError, true, true, false, false, C::Other},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(saveFailureCause(c.error, c.folderExists, c.folderWritable, c.fileExists, c.fileWritable),
                  c.cause)
            << "error " << c.error << ", folder " << c.folderExists << c.folderWritable << ", file "
            << c.fileExists << c.fileWritable;
    }
}

TEST(SaveFailure, EachCauseNamesWhatStoodInTheWay)
{
    const QString output = QStringLiteral("/data/VTRForms/VTRPDF.PDF");
    const QString start =
        QStringLiteral("You clicked on the 'Produce Form' button, but the form could not be "
                       "saved as '/data/VTRForms/VTRPDF.PDF', because ");
    EXPECT_EQ(saveFailedMessage(SaveFailureCause::FileInUse, output, QStringLiteral("Access denied")),
              SaveFailedText);
    EXPECT_EQ(saveFailedMessage(SaveFailureCause::FolderNotWritable, output, QString()),
              start + QStringLiteral("you do not have permission to save files in the folder "
                                     "'/data/VTRForms'.\r\n\r\nAsk your system administrator for "
                                     "permission to write to that folder, and then try producing this form "
                                     "again."));
    EXPECT_EQ(saveFailedMessage(SaveFailureCause::FileNotWritable, output, QString()),
              start + QStringLiteral("you do not have permission to replace the file "
                                     "'/data/VTRForms/VTRPDF.PDF'.\r\n\r\nAsk your system administrator "
                                     "for permission to change that file, and then try producing this form "
                                     "again."));
    EXPECT_EQ(saveFailedMessage(SaveFailureCause::DiskFull, output, QString()),
              start +
                  QStringLiteral("the disk that holds the folder '/data/VTRForms' is full.\r\n\r\n"
                                 "Free some space on that disk, and then try producing this form again."));
    EXPECT_EQ(saveFailedMessage(SaveFailureCause::Other, output, QStringLiteral("Input/output error")),
              start + QStringLiteral("the system reported: Input/output error\r\n\r\nIf you still "
                                     "receive this message, please contact Tessaly (www.tessaly.example)."));
}

TEST_F(FormFiller, OutputNamedLikeTheTemplateIsRefusedAndTheTemplateKept)
{
    const QString templatePath = path(QStringLiteral("QUON42.PDF"));
    test::writeTextFieldTemplate(templatePath, 41);
    const QByteArray before = readBytes(templatePath);
    const ProduceResult result = fillForm(templatePath, templatePath, sampleCaptions());
    EXPECT_EQ(result.status, ProduceStatus::OutputRefused);
    EXPECT_EQ(result.title, QStringLiteral("Unable to Produce Form"));
    EXPECT_TRUE(result.text.contains(QStringLiteral("one of the program's own files")))
        << result.text.toStdString();
    EXPECT_EQ(readBytes(templatePath), before);

    // A file that is not a PDF is no earlier form: it is kept too.
    const QString letter = path(QStringLiteral("letter.txt"));
    QFile file(letter);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Dear Judge,");
    file.close();
    EXPECT_EQ(fillForm(templatePath, letter, sampleCaptions()).status, ProduceStatus::OutputRefused);
    EXPECT_EQ(readBytes(letter), QByteArray("Dear Judge,"));
}

TEST_F(FormFiller, DamagedTemplateIsReportedAndTheEarlierOutputKept)
{
    const QString templatePath = path(QStringLiteral("QUON42.PDF"));
    QFile damaged(templatePath);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("%PDF-1.4\n1 0 obj << /Type /Catalog >> garbage without an end");
    damaged.close();
    const QString outputPath = path(QStringLiteral("VTRPDF.PDF"));
    QFile earlier(outputPath);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("%PDF-1.4 the form produced last time");
    earlier.close();

    const ProduceResult result = fillForm(templatePath, outputPath, sampleCaptions());
    EXPECT_EQ(result.status, ProduceStatus::TemplateUnreadable);
    EXPECT_EQ(result.title, QStringLiteral("Unable to Produce Form"));
    EXPECT_TRUE(
        result.text.startsWith(QStringLiteral("The file '") + templatePath + QStringLiteral("' is damaged")))
        << result.text.toStdString();
    EXPECT_EQ(readBytes(outputPath), QByteArray("%PDF-1.4 the form produced last time"));
}

TEST_F(FormFiller, AppearancesAlignAndEscapeTheValues)
{
    const QString templatePath = path(QStringLiteral("nested.pdf"));
    test::writeNestedFieldTemplate(templatePath, true);
    Captions captions;
    captions.insert(QStringLiteral("lblCourtFile"), QStringLiteral("(a) \\ b"));
    captions.insert(QStringLiteral("lblCourtType"), QStringLiteral("Łukasz Café"));
    captions.insert(QStringLiteral("lblCounty"), QStringLiteral("x"));
    captions.insert(QStringLiteral("lblName1Name"), QStringLiteral("first\r\nsecond"));
    ASSERT_EQ(fillForm(templatePath, path(QStringLiteral("out.pdf")), captions).status,
              ProduceStatus::Produced);

    QPDF pdf;
    pdf.processFile(QFile::encodeName(path(QStringLiteral("out.pdf"))).constData());
    QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
    auto appearance = [](QPDFObjectHandle widget) {
        std::shared_ptr<Buffer> data = widget.getKey("/AP").getKey("/N").getStreamData();
        return QByteArray(reinterpret_cast<const char*>(data->getBuffer()),
                          static_cast<qsizetype>(data->getSize()));
    };
    QPDFObjectHandle top = fields.getArrayItem(0);
    EXPECT_TRUE(appearance(top.getKey("/Kids").getArrayItem(0)).contains("(\\(a\\) \\\\ b) Tj"));
    // WinAnsi: é is byte 0xE9; Ł has no WinAnsi code and is drawn as "?", while the value keeps it.
    EXPECT_TRUE(appearance(top.getKey("/Kids").getArrayItem(1)).contains("(?ukasz Caf\xE9) Tj"));
    EXPECT_EQ(top.getKey("/Kids").getArrayItem(1).getKey("/V").getUTF8Value(), "Łukasz Café");
    // The multi-line, right-aligned field: two lines, each ending at the box's right padding.
    const QByteArray last = appearance(fields.getArrayItem(2));
    EXPECT_TRUE(last.contains("(first) Tj"));
    EXPECT_TRUE(last.contains("(second) Tj"));
    EXPECT_EQ(pdf.getRoot().getKey("/AcroForm").getKey("/Fields").getArrayNItems(), 3)
        << "fields stay fillable";
}

// The installed template through tools that are not ours: qpdf's structural check and pdftk's
// field dump must both see a sound file with every value in its field.
TEST_F(FormFiller, InstalledTemplateProducesAFormOtherToolsRead)
{
    const QString templatePath = QStringLiteral(FORMS_DIR "/QUON42.PDF");
    const QString outputPath = path(QStringLiteral("VTRPDF.PDF"));
    Captions captions = sampleCaptions();
    captions.insert(QStringLiteral("lblComments"), QStringLiteral("One line of comments."));
    const ProduceResult result = fillForm(templatePath, outputPath, captions);
    ASSERT_EQ(result.status, ProduceStatus::Produced) << result.text.toStdString();
    EXPECT_EQ(result.fieldCount, 41);

    const QList<ProducedField> fields = readProduced(outputPath);
    const QStringList labels = Cs42Form::formFieldLabels();
    ASSERT_EQ(fields.size(), 41);
    for (int i = 0; i < 41; ++i) {
        EXPECT_EQ(fields[i].value, captions.value(labels[i])) << "field " << i + 1;
        EXPECT_FALSE(fields[i].appearances.value(0).isEmpty()) << "field " << i + 1;
    }

    const QString qpdf = QStandardPaths::findExecutable(QStringLiteral("qpdf"));
    const QString pdftk = QStandardPaths::findExecutable(QStringLiteral("pdftk"));
    if (qpdf.isEmpty() || pdftk.isEmpty())
        GTEST_SKIP() << "qpdf or pdftk is not installed";
    for (const QString& file : {templatePath, outputPath}) {
        QProcess check;
        check.start(qpdf, {QStringLiteral("--check"), file});
        ASSERT_TRUE(check.waitForFinished(60000));
        EXPECT_EQ(check.exitCode(), 0) << file.toStdString() << check.readAll().toStdString();
    }
    QProcess dump;
    dump.start(pdftk, {outputPath, QStringLiteral("dump_data_fields_utf8")});
    ASSERT_TRUE(dump.waitForFinished(60000));
    ASSERT_EQ(dump.exitCode(), 0);
    QMap<QString, QString> dumped;
    QString name;
    for (const QString& line : QString::fromUtf8(dump.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("FieldName: ")))
            name = line.mid(11);
        else if (line.startsWith(QLatin1String("FieldValue: ")))
            dumped.insert(name, line.mid(12));
    }
    for (int i = 0; i < 41; ++i) {
        const QString value = captions.value(labels[i]);
        if (!value.isEmpty()) {
            EXPECT_EQ(dumped.value(fields[i].name), value) << fields[i].name.toStdString();
        }
    }
}

} // namespace
} // namespace cs42
