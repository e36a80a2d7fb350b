#pragma once

#include "core/produce/FormFiller.h"
#include "ui/common/PreviewOptions.h"

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QPdfDocument;
class QPdfView;
class QPrinter;
class QPushButton;
class QTemporaryDir;

namespace cs42 {

class Interaction;
struct FormEdition;
struct Session;

// The program's own view of a PDF document: the produced form or a reference document, with
// "Print…", "Save As…" and "Open in PDF Viewer". Qt's PDF renderer draws no form-field values, so
// the window shows a flattened copy (writeFlattenedCopy) that it keeps in a temporary folder of its
// own while it is open, and prints that copy; "Save As" and the viewer get the document itself,
// whose fields stay fillable. Ctrl+P prints, Esc closes.
class PdfPreview : public QDialog
{
    Q_OBJECT

public:
    PdfPreview(QString path, PreviewOptions options, Interaction& interaction, QWidget* parent = nullptr);
    ~PdfPreview() override;

    // Writes the flattened copy and opens it; false, with the reason in `error`, when the document
    // cannot be shown (the window then shows nothing).
    bool load(QString* error = nullptr);

    const QString& documentPath() const { return m_path; }

    const PreviewOptions& options() const { return m_options; }

    // The flattened copy shown: empty before load() and once the window has closed.
    const QString& shownCopyPath() const { return m_copyPath; }

    QPdfDocument* document() const { return m_document; }

    int pageCount() const;

    // The buttons.
    void print();
    void saveAs();
    void openInViewer();

    // Prints the pages of `document` the printer was set to (every page unless a range was
    // chosen), each rendered at the printer's resolution (at most 600 dots per inch), at its own
    // size, made smaller only when it is larger than the paper. False when the printer cannot be
    // started.
    static bool printDocument(QPdfDocument& document, QPrinter& printer);

    // What the window says.
    static QString saveTitle();
    static QString printTitle();
    static QString replaceQuestion(const QString& path);
    static QString saveFailedText(SaveFailureCause cause, const QString& path, const QString& systemText);
    static QString unreadableDocumentText(const QString& path, const QString& systemText);
    static QString printFailedText();
    static QString noViewerText(const QString& path);

    void done(int result) override;

private:
    // Closes the shown copy and removes it with its folder.
    void closeCopy();
    // The folder "Save As" opens in: the one remembered on this workstation while it is there,
    // otherwise the user's documents folder.
    QString saveFolder() const;
    // Copies the document to `target`, replacing what is there; the message to show on failure.
    QString copyDocument(const QString& target) const;

    QString m_path;
    PreviewOptions m_options;
    Interaction& m_interaction;
    QPdfDocument* m_document;
    QPdfView* m_view;
    QLabel* m_pages;
    QPushButton* m_print;
    QPushButton* m_saveAs;
    std::unique_ptr<QTemporaryDir> m_copyFolder;
    QString m_copyPath;
};

// How the produced form is previewed: the window is titled with the form and the case, and
// "Save As" offers "<case name> - <form> - <today>.pdf".
PreviewOptions
producedFormPreview(const Session& session, const FormEdition& edition, const QString& caseName);
// How a reference document is previewed: under its title, and "Save As" offers its own file name.
PreviewOptions referenceDocumentPreview(const DataPaths& paths, const QString& path, const QString& title);

} // namespace cs42
