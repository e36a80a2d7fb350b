// The preview window of a produced form and of the reference documents: what it shows, and its
// Print, Save As and Open in PDF Viewer, answered through the scripted Interaction.

#include "ui/produce/PdfPreview.h"

#include "core/produce/FormFiller.h"
#include "core/produce/FormTemplate.h"
#include "core/produce/OutputPath.h"
#include "core/startup/DataStore.h"
#include "core/worksheet/FormEdition.h"
#include "support/ModalAnswer.h"
#include "support/SessionFixture.h"
#include "ui/shell/QtInteraction.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPdfDocument>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace cs42;
using namespace cs42::test;

namespace {
QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The share of the pixels in `area` of a rendered page that are drawn darker than near-white
// (Qt renders what a page does not draw as transparent).
double inkIn(const QImage& image, const QRect& area)
{
    int dark = 0;
    int all = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ++all;
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 128 && qGray(pixel) < 200)
                ++dark;
        }
    }
    return all == 0 ? 0.0 : double(dark) / all;
}

int pagesOf(const QString& path)
{
    QPdfDocument document;
    return document.load(path) == QPdfDocument::Error::None ? document.pageCount() : -1;
}
} // namespace

class PdfPreviewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SessionFixture> m_data;
    QString m_form; // the produced form, VTRPDF.PDF

    QString vtrForms(const QString& file) const
    {
        return QDir(m_data->session.paths.vtrFormsDir()).filePath(file);
    }

    std::unique_ptr<PdfPreview> preview(const QString& path, const PreviewOptions& options)
    {
        auto window = std::make_unique<PdfPreview>(path, options, m_data->interaction);
        QString error;
        if (!window->load(&error))
            qWarning("the preview did not load: %s", qPrintable(error));
        return window;
    }

    std::unique_ptr<PdfPreview> formPreview()
    {
        return preview(
            m_form,
            producedFormPreview(m_data->session, FormEditions::cs42Rev0109(), QStringLiteral("Doe v. Roe")));
    }

    static void press(QWidget* window, const char* name)
    {
        auto* button = window->findChild<QPushButton*>(QLatin1String(name));
        QVERIFY2(button != nullptr, name);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The rectangle of a field of the 2009 form on a page rendered at `size`.
    static QRect fieldArea(const FormTemplateInfo& form, const QString& field, const QSize& size)
    {
        for (const FormFieldInfo& info : form.fields) {
            if (info.name == field) {
                const double sx = size.width() / form.pageSize.width();
                const double sy = size.height() / form.pageSize.height();
                // PDF points run up from the bottom of the page; pixels down from the top.
                return QRectF(info.rect.left() * sx,
                              size.height() - info.rect.bottom() * sy,
                              info.rect.width() * sx,
                              info.rect.height() * sy)
                    .toRect();
            }
        }
        qWarning("no field %s", qPrintable(field));
        return {};
    }

private slots:

    void init()
    {
        m_data = std::make_unique<SessionFixture>();
        for (const char* file : {"QUON42.PDF", "QUONRule32.pdf", "QUONSchedule.pdf"})
            QFile::copy(QStringLiteral(FORMS_DIR "/") + QLatin1String(file), vtrForms(QLatin1String(file)));
        Captions captions;
        captions.insert(QStringLiteral("lblCourtFile"), QStringLiteral("DR-2024-000123.00"));
        captions.insert(QStringLiteral("lblName1Name"), QStringLiteral("Doe, Jane A."));
        captions.insert(QStringLiteral("lblP1"), QStringLiteral("4,250"));
        m_form = m_data->session.paths.producedFormPath();
        QCOMPARE(fillForm(m_data->session.paths.templatePath(), m_form, captions).status,
                 ProduceStatus::Produced);
    }

    void cleanup()
    {
        if (m_data)
            QVERIFY2(m_data->interaction.allExpectationsMet(), "a scripted answer was not asked for");
        m_data.reset();
    }

    void showsTheFormsValuesFromACopyRemovedOnClosing()
    {
        auto window = formPreview();
        QCOMPARE(window->pageCount(), 1);
        QCOMPARE(window->windowTitle(), QStringLiteral("Form CS-42 (Rev. 1/09) - Doe v. Roe"));
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblPages"))->text(), QStringLiteral("1 page"));
        const QString copy = window->shownCopyPath();
        QVERIFY(QFile::exists(copy));
        QVERIFY(QFileInfo(copy).absolutePath() != QFileInfo(m_form).absolutePath());

        // The values are drawn into the copy's page; the form itself is left as it was.
        const auto form = readFormTemplate(m_form);
        QVERIFY(form);
        const QSize size(612 * 2, 792 * 2);
        const QImage shown = window->document()->render(0, size);
        const QRect courtFile = fieldArea(*form, QStringLiteral("CourtFile"), size);
        const QRect income = fieldArea(*form, QStringLiteral("P1"), size);
        QVERIFY2(inkIn(shown, courtFile) > 0.02, "the court file number is drawn");
        QVERIFY2(inkIn(shown, income) > 0.02, "the income is drawn");
        QPdfDocument original;
        QCOMPARE(original.load(m_form), QPdfDocument::Error::None);

        QVERIFY2(inkIn(original.render(0, size), courtFile) < inkIn(shown, courtFile) / 2,
                 "Qt's renderer draws no field values: that is why the preview shows a copy");

        // Esc closes the window and removes the copy with its folder.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(copy));
        QVERIFY(!QFileInfo::exists(QFileInfo(copy).absolutePath()));
        QVERIFY(window->shownCopyPath().isEmpty());
        QVERIFY(QFile::exists(m_form));
    }

    void aDocumentThatCannotBeShownShowsNothing()
    {
        const QString notes = vtrForms(QStringLiteral("notes.pdf"));
        writeBytes(notes, "not a PDF document\n");
        PdfPreview window(notes, {}, m_data->interaction);
        QString error;
        QVERIFY(!window.load(&error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(window.pageCount(), 0);
        QVERIFY(window.shownCopyPath().isEmpty());
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("cmdPrint"))->isEnabled());

        // The real route says so, and shows no window; a document it can show it shows modally.
        QtInteraction real;
        QVERIFY(!real.showDocument(nullptr, notes, {}));
        auto run = onNextModal([](QWidget* dialog) {
            auto* shown = qobject_cast<PdfPreview*>(dialog);
            QVERIFY(shown != nullptr);
            QCOMPARE(shown->pageCount(), 4);
            dialog->close();
        });
        QVERIFY(real.showDocument(nullptr,
                                  vtrForms(QStringLiteral("QUONRule32.pdf")),
                                  referenceDocumentPreview(m_data->session.paths,
                                                           vtrForms(QStringLiteral("QUONRule32.pdf")),
                                                           QStringLiteral("Child Support Guidelines"))));
        QVERIFY_ANSWERED(run);
    }

    void printsThePagesChosen_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("fromPage");
        QTest::addColumn<int>("toPage");
        QTest::addColumn<int>("printed");
        QTest::newRow("the form") << QStringLiteral("VTRPDF.PDF") << 0 << 0 << 1;
        QTest::newRow("every page") << QStringLiteral("QUONRule32.pdf") << 0 << 0 << 4;
        QTest::newRow("a range") << QStringLiteral("QUONSchedule.pdf") << 3 << 5 << 3;
        QTest::newRow("a range past the end") << QStringLiteral("QUONSchedule.pdf") << 11 << 99 << 2;
    }

    void printsThePagesChosen()
    {
        QFETCH(QString, file);
        QFETCH(int, fromPage);
        QFETCH(int, toPage);
        QFETCH(int, printed);
        auto window =
            preview(vtrForms(file), referenceDocumentPreview(m_data->session.paths, vtrForms(file), file));
        const QString output = QDir(m_data->dir.path()).filePath(QStringLiteral("printed.pdf"));
        m_data->interaction.expectPrint(output, fromPage, toPage);
        press(window.get(), "cmdPrint");
        QCOMPARE(m_data->interaction.prompts.value(0).text, QString::number(window->pageCount()));
        QCOMPARE(pagesOf(output), printed);

        // Printed from the flattened copy: the form's values are on the paper.
        QPdfDocument paper;
        QCOMPARE(paper.load(output), QPdfDocument::Error::None);
        const QImage page = paper.render(0, QSize(612, 792));
        if (file == QLatin1String("VTRPDF.PDF")) {
            const auto form = readFormTemplate(m_form);
            QVERIFY(form);
            const QRect area = fieldArea(*form, QStringLiteral("CourtFile"), page.size());
            QPdfDocument original;
            QCOMPARE(original.load(m_form), QPdfDocument::Error::None);
            QVERIFY2(inkIn(page, area) > 2 * inkIn(original.render(0, page.size()), area),
                     "the court file number is printed");
        } else {
            QVERIFY(inkIn(page, page.rect()) > 0.001);
        }
    }

    void printingCanBeCancelledAndCtrlPPrints()
    {
        auto window = formPreview();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QString output = QDir(m_data->dir.path()).filePath(QStringLiteral("printed.pdf"));
        m_data->interaction.expectPrint(std::nullopt);
        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(m_data->interaction.prompts.size(), 1);
        QVERIFY(!QFile::exists(output));

        // A printer that cannot start is said.
        m_data->interaction.expectPrint(
            QDir(m_data->dir.path()).filePath(QStringLiteral("gone/printed.pdf")));
        m_data->interaction.expectInform(PdfPreview::printTitle(), PdfPreview::printFailedText());
        press(window.get(), "cmdPrint");
        QCOMPARE(m_data->interaction.prompts.size(), 3);
    }

    void saveAsOffersTheCaseNameInTheFolderLastUsed()
    {
        const QString suggested = QStringLiteral("Doe v Roe - CS-42 - 2024-03-15.pdf");
        const QString folder = QDir(m_data->dir.path()).filePath(QStringLiteral("Clients"));
        QVERIFY(QDir().mkpath(folder));
        const QString target = QDir(folder).filePath(suggested);
        {
            auto window = formPreview();
            m_data->interaction.expectSaveFileName(target, PdfPreview::saveTitle(), suggested);
            press(window.get(), "cmdSaveAs");
        }
        // The first time, the user's documents folder; the copy is the fillable form itself.
        QCOMPARE(
            m_data->interaction.saveFolders.value(0),
            QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
        QCOMPARE(readBytes(target), readBytes(m_form));
        // The copy holds a case's incomes: no other account may read it.
        QCOMPARE(QFile::permissions(target) &
                     (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
        QCOMPARE(DataStore::lastSaveFolder(m_data->session.paths), QDir::toNativeSeparators(folder));

        // The next window, for another document, opens in that folder and offers the document's name.
        const QString rule32 = vtrForms(QStringLiteral("QUONRule32.pdf"));
        {
            auto window =
                preview(rule32,
                        referenceDocumentPreview(
                            m_data->session.paths, rule32, QStringLiteral("Child Support Guidelines")));
            QCOMPARE(window->windowTitle(), QStringLiteral("Child Support Guidelines"));
            m_data->interaction.expectSaveFileName(
                std::nullopt, PdfPreview::saveTitle(), QStringLiteral("QUONRule32.pdf"));
            press(window.get(), "cmdSaveAs");
        }
        QCOMPARE(m_data->interaction.saveFolders.value(1), QDir::toNativeSeparators(folder));

        // A remembered folder that has gone is not offered.
        QVERIFY(QDir(folder).removeRecursively());
        auto window = formPreview();
        m_data->interaction.expectSaveFileName(std::nullopt);
        press(window.get(), "cmdSaveAs");
        QCOMPARE(m_data->interaction.saveFolders.value(2), m_data->interaction.saveFolders.value(0));
    }

    void saveAsAsksBeforeReplacingAndRefusesWhatIsNoDocument()
    {
        auto window = formPreview();
        const QString target = QDir(m_data->dir.path()).filePath(QStringLiteral("copy.pdf"));
        writeBytes(target, "%PDF-1.4\n%%EOF\n");
        const QByteArray earlier = readBytes(target);

        // No: the earlier file stays. Yes: it is replaced.
        m_data->interaction.expectSaveFileName(target);
        m_data->interaction.expectAsk(
            Interaction::Answer::No, PdfPreview::saveTitle(), PdfPreview::replaceQuestion(target));
        press(window.get(), "cmdSaveAs");
        QCOMPARE(readBytes(target), earlier);
        m_data->interaction.expectSaveFileName(target);
        m_data->interaction.expectAsk(
            Interaction::Answer::Yes, PdfPreview::saveTitle(), PdfPreview::replaceQuestion(target));
        press(window.get(), "cmdSaveAs");
        QCOMPARE(readBytes(target), readBytes(m_form));

        // Never over a file that is no PDF document, nor over the program's own files.
        const QString notes = QDir(m_data->dir.path()).filePath(QStringLiteral("notes.txt"));
        writeBytes(notes, "minutes of the hearing\n");
        const QStringList ownFiles = {
            m_data->session.paths.casesDbPath(), m_form, vtrForms(QStringLiteral("QUONRule32.pdf"))};
        for (const QString& refused : QStringList{notes} + ownFiles) {
            const QByteArray before = readBytes(refused);
            m_data->interaction.expectSaveFileName(refused);
            m_data->interaction.expectInform(
                PdfPreview::saveTitle(),
                outputPathProblem(refused, producedFormProtectedFiles(m_data->session.paths) << m_form));
            press(window.get(), "cmdSaveAs");
            QCOMPARE(readBytes(refused), before);
        }

        // A folder that is not there is said.
        const QString nowhere = QDir(m_data->dir.path()).filePath(QStringLiteral("gone/copy.pdf"));
        m_data->interaction.expectSaveFileName(nowhere);
        m_data->interaction.expectInform(
            PdfPreview::saveTitle(),
            PdfPreview::saveFailedText(SaveFailureCause::FolderMissing, nowhere, {}));
        press(window.get(), "cmdSaveAs");
        QVERIFY(m_data->interaction.prompts.last().text.contains(
            QDir::toNativeSeparators(QFileInfo(nowhere).absolutePath())));
    }

    void openInPdfViewerOpensTheFormItself()
    {
        auto window = formPreview();
        press(window.get(), "cmdOpenInViewer");
        QCOMPARE(m_data->interaction.openedDocuments, QStringList{m_form});

        // No viewer: the user learns where the file is.
        m_data->interaction.openDocumentResult = false;
        m_data->interaction.expectInform(window->windowTitle(), PdfPreview::noViewerText(m_form));
        press(window.get(), "cmdOpenInViewer");
    }
};

QTEST_MAIN(PdfPreviewTest)
#include "PdfPreviewTest.moc"
