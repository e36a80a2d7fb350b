#include "core/produce/FlattenedCopy.h"

#include "core/Logging.h"

#include <QFile>
#include <QFileInfo>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFAnnotationObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace cs42 {

bool writeFlattenedCopy(const QString& sourcePath, const QString& copyPath, QString* error)
{
    auto fail = [&](const QString& reason) {
        qCWarning(lcProduce) << "cannot flatten" << sourcePath << "into" << copyPath << ":" << reason;
        if (error)
            *error = reason;
        return false;
    };
    if (!QFileInfo(sourcePath).isFile())
        return fail(QStringLiteral("there is no file '%1'.").arg(sourcePath));
    // QPDF keeps the file names until it is done: they must outlive it.
    const QByteArray source = QFile::encodeName(sourcePath);
    const QByteArray copy = QFile::encodeName(copyPath);
    bool writing = false;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(source.constData());
        QPDFAcroFormDocumentHelper(pdf).generateAppearancesIfNeeded();
        // What qpdf's --flatten-annotations=all does: hidden and invisible annotations are dropped.
        QPDFPageDocumentHelper(pdf).flattenAnnotations(0, an_invisible | an_hidden);
        writing = true;
        QPDFWriter writer(pdf, copy.constData());
        writer.write();
    } catch (const std::exception& e) {
        // Nothing half-written is left behind; a file the writer never opened is not touched.
        if (writing)
            QFile::remove(copyPath);
        return fail(QString::fromLocal8Bit(e.what()));
    }
    return true;
}

} // namespace cs42
