#include "ui/produce/PdfPreview.h"

#include "core/Logging.h"
#include "core/produce/FlattenedCopy.h"
#include "core/produce/OutputPath.h"
#include "core/produce/SaveName.h"
#include "core/startup/DataStore.h"
#include "core/store/PrivateFiles.h"
#include "core/worksheet/FormEdition.h"
#include "ui/common/Interaction.h"
#include "ui/common/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>

namespace cs42 {

namespace {
const QString PdfFilter = QStringLiteral("PDF documents (*.pdf *.PDF)");
constexpr int MaxRenderDpi = 600;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QPushButton* addButton(QHBoxLayout* row, const QString& text, const char* name)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    // Enter in the view must not print or save.
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}
} // namespace

PdfPreview::PdfPreview(QString path, PreviewOptions options, Interaction& interaction, QWidget* parent)
    : QDialog(parent)
    , m_path(std::move(path))
    , m_options(std::move(options))
    , m_interaction(interaction)
    , m_document(new QPdfDocument(this))
    , m_view(new QPdfView(this))
{
    setObjectName(QStringLiteral("PdfPreview"));
    setWindowTitle(m_options.title.isEmpty() ? QFileInfo(m_path).fileName() : m_options.title);
    setSizeGripEnabled(true);

    m_view->setObjectName(QStringLiteral("pdfView"));
    m_view->setPageMode(QPdfView::PageMode::MultiPage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    m_view->setDocument(m_document);

    auto* row = new QHBoxLayout;
    m_print = addButton(row, QStringLiteral("&Print…"), "cmdPrint");
    m_saveAs = addButton(row, QStringLiteral("Save &As…"), "cmdSaveAs");
    QPushButton* viewer = addButton(row, QStringLiteral("&Open in PDF Viewer"), "cmdOpenInViewer");
    row->addStretch();
    m_pages = new QLabel;
    m_pages->setObjectName(QStringLiteral("lblPages"));
    row->addWidget(m_pages);
    QPushButton* close = addButton(row, QStringLiteral("Close"), "cmdClose");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(row);

    connect(m_print, &QPushButton::clicked, this, &PdfPreview::print);
    connect(m_saveAs, &QPushButton::clicked, this, &PdfPreview::saveAs);
    connect(viewer, &QPushButton::clicked, this, &PdfPreview::openInViewer);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this, &PdfPreview::print);
    m_print->setEnabled(false);

    // A letter page at full width, within the screen.
    QSize size(860, 1000);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
}

PdfPreview::~PdfPreview()
{
    closeCopy();
}

bool PdfPreview::load(QString* error)
{
    closeCopy();
    auto fail = [&](const QString& reason) {
        qCWarning(lcProduce) << "cannot preview" << m_path << ":" << reason;
        closeCopy();
        if (error)
            *error = reason;
        return false;
    };
    m_copyFolder = std::make_unique<QTemporaryDir>();
    if (!m_copyFolder->isValid())
        return fail(m_copyFolder->errorString());
    const QString copy = m_copyFolder->filePath(QFileInfo(m_path).fileName());
    QString reason;
    if (!writeFlattenedCopy(m_path, copy, &reason))
        return fail(reason);
    if (m_document->load(copy) != QPdfDocument::Error::None || m_document->pageCount() < 1)
        return fail(QStringLiteral("Qt PDF cannot read the flattened copy"));
    m_copyPath = copy;
    const int pages = m_document->pageCount();
    m_pages->setText(pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages));
    m_print->setEnabled(true);
    return true;
}

int PdfPreview::pageCount() const
{
    return m_copyPath.isEmpty() ? 0 : m_document->pageCount();
}

void PdfPreview::done(int result)
{
    closeCopy();
    QDialog::done(result);
}

void PdfPreview::closeCopy()
{
    // The document holds the file open, which would keep it from being removed on Windows.
    m_document->close();
    m_copyFolder.reset();
    m_copyPath.clear();
    m_pages->clear();
    m_print->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Printing

void PdfPreview::print()
{
    if (pageCount() < 1)
        return;
    const std::unique_ptr<QPrinter> printer = m_interaction.choosePrinter(this, pageCount());
    if (!printer)
        return;
    if (!printDocument(*m_document, *printer))
        m_interaction.inform(this, printTitle(), printFailedText(), Interaction::Icon::Warning);
}

bool PdfPreview::printDocument(QPdfDocument& document, QPrinter& printer)
{
    const int count = document.pageCount();
    int first = 1;
    int last = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(count, printer.toPage() > 0 ? printer.toPage() : count);
    }
    if (count < 1 || first > last)
        return true;

    // The page is drawn from the paper's corner: the PDF page has its own margins.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        qCWarning(lcProduce) << "cannot start the printer" << printer.printerName();
        return false;
    }
    // A page is rendered whole: beyond 600 dots per inch (a letter page is then 130 MB) it is
    // rendered at 600 and drawn enlarged, which no printed text shows.
    const qreal renderDpi = std::min(printer.resolution(), MaxRenderDpi);
    const qreal toDevice = printer.resolution() / renderDpi;
    const QSizeF paper = printer.pageLayout().fullRectPixels(renderDpi).size();
    for (int page = first; page <= last; ++page) {
        const QSizeF pixels = document.pagePointSize(page - 1) * (renderDpi / 72.0);
        const qreal scale = std::min({1.0, paper.width() / pixels.width(), paper.height() / pixels.height()});
        QImage image = document.render(page - 1, (pixels * scale).toSize());
        if (image.isNull()) {
            qCWarning(lcProduce) << "cannot render page" << page << "for printing";
            painter.end();
            return false;
        }
        // The page comes transparent where nothing is drawn: made white and opaque in place, so
        // that the printer gets no transparency to process.
        {
            QPainter white(&image);
            white.setCompositionMode(QPainter::CompositionMode_DestinationOver);
            white.fillRect(image.rect(), Qt::white);
        }
        image.convertTo(QImage::Format_RGB32);
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(image.size()) * toDevice), image);
        if (page < last)
            printer.newPage();
    }
    return painter.end();
}

// ---------------------------------------------------------------------------------------------
// Saving a copy

void PdfPreview::saveAs()
{
    const std::optional<QString> chosen =
        m_interaction.saveFileName(this, saveTitle(), saveFolder(), m_options.saveName, PdfFilter);
    if (!chosen || chosen->trimmed().isEmpty())
        return;
    const QString target = QFileInfo(*chosen).absoluteFilePath();
    // Never over the program's own files, the document itself among them, nor over a file that
    // is no PDF document.
    const QString refusal = outputPathProblem(target, producedFormProtectedFiles(m_options.paths) << m_path);
    if (!refusal.isEmpty()) {
        m_interaction.inform(this, saveTitle(), refusal, Interaction::Icon::Warning);
        return;
    }
    if (QFileInfo::exists(target) &&
        m_interaction.ask(this, saveTitle(), replaceQuestion(target), Interaction::Icon::Warning) !=
            Interaction::Answer::Yes)
        return;
    const QString failure = copyDocument(target);
    if (!failure.isEmpty()) {
        m_interaction.inform(this, saveTitle(), failure, Interaction::Icon::Warning);
        return;
    }
    DataStore::saveLastSaveFolder(m_options.paths, native(QFileInfo(target).absolutePath()));
}

QString PdfPreview::saveFolder() const
{
    const QString remembered = DataStore::lastSaveFolder(m_options.paths);
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return native(documents.isEmpty() ? QDir::homePath() : documents);
}

QString PdfPreview::copyDocument(const QString& target) const
{
    QFile source(m_path);
    if (!source.open(QIODevice::ReadOnly))
        return unreadableDocumentText(m_path, source.errorString());
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return unreadableDocumentText(m_path, source.errorString());
    source.close();

    // Written beside the target and renamed over it: a failure leaves an earlier file as it was.
    // The copy is made private first (it may hold a case's incomes); the saved file keeps that.
    bool created = false;
    PrivateFiles::prepare(target, nullptr, &created);
    QSaveFile file(target);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    if (created)
        QFile::remove(target);
    const QFileDevice::FileError error = file.error();
    const QString systemText = file.errorString();
    qCWarning(lcProduce) << "cannot save a copy of" << m_path << "as" << target << ":" << systemText;
    file.cancelWriting();
    const QFileInfo output(target);
    const QFileInfo folder(output.absolutePath());
    return saveFailedText(
        saveFailureCause(error, folder.isDir(), folder.isWritable(), output.exists(), output.isWritable()),
        target,
        systemText);
}

// ---------------------------------------------------------------------------------------------
// The viewer

void PdfPreview::openInViewer()
{
    if (!m_interaction.openDocument(m_path))
        m_interaction.inform(this, windowTitle(), noViewerText(m_path));
}

// ---------------------------------------------------------------------------------------------
// Messages

QString PdfPreview::saveTitle()
{
    return QStringLiteral("Save a Copy");
}

QString PdfPreview::printTitle()
{
    return QStringLiteral("Print");
}

QString PdfPreview::replaceQuestion(const QString& path)
{
    return QStringLiteral("There is already a file '") + native(path) +
           QStringLiteral("'.\r\n\r\nDo you want to replace it with this document?");
}

QString PdfPreview::saveFailedText(SaveFailureCause cause, const QString& path, const QString& systemText)
{
    const QString file = native(QFileInfo(path).absoluteFilePath());
    const QString folder = native(QFileInfo(path).absolutePath());
    const QString start =
        QStringLiteral("The document was not saved as '") + file + QStringLiteral("', because ");
    switch (cause) {
    case SaveFailureCause::FileInUse:
        return start + QStringLiteral("that file is open in another program.\r\n\r\nClose it there, and then "
                                      "save the document again.");
    case SaveFailureCause::FolderMissing:
        return start + QStringLiteral("there is no folder '") + folder +
               QStringLiteral("'.\r\n\r\nCheck that the folder is there (a network drive may have been "
                              "disconnected), or choose another one.");
    case SaveFailureCause::FolderNotWritable:
        return start + QStringLiteral("you do not have permission to save files in the folder '") + folder +
               QStringLiteral("'.\r\n\r\nChoose another folder, or ask your system administrator for "
                              "permission to write to that one.");
    case SaveFailureCause::FileNotWritable:
        return start + QStringLiteral("you do not have permission to replace that file.\r\n\r\nChoose "
                                      "another name, or ask your system administrator for permission to "
                                      "change that file.");
    case SaveFailureCause::DiskFull:
        return start + QStringLiteral("the disk that holds the folder '") + folder +
               QStringLiteral("' is full.\r\n\r\nFree some space on that disk, or choose another folder.");
    case SaveFailureCause::Other:
        break;
    }
    return start + QStringLiteral("the system reported: ") + systemText;
}

QString PdfPreview::unreadableDocumentText(const QString& path, const QString& systemText)
{
    return QStringLiteral("No copy was saved, because the document '") + native(path) +
           QStringLiteral("' could not be read: ") + systemText;
}

QString PdfPreview::printFailedText()
{
    return QStringLiteral("The document could not be printed, because the printer could not be "
                          "started.\r\n\r\nCheck that the printer is on and connected, and then print "
                          "again.");
}

QString PdfPreview::noViewerText(const QString& path)
{
    return QStringLiteral("No program on this computer could open the document.  It is the file") +
           QStringLiteral("\r\n\r\n") + native(path);
}

// ---------------------------------------------------------------------------------------------

PreviewOptions
producedFormPreview(const Session& session, const FormEdition& edition, const QString& caseName)
{
    const QString name = caseName.trimmed();
    return {name.isEmpty() ? edition.title : edition.title + QStringLiteral(" - ") + name,
            producedFormSaveName(name, edition.shortName, session.today()),
            session.paths};
}

PreviewOptions referenceDocumentPreview(const DataPaths& paths, const QString& path, const QString& title)
{
    return {title, QFileInfo(path).fileName(), paths};
}

} // namespace cs42
