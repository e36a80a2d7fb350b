#include "ui/shell/QtInteraction.h"

#include "core/store/ProgramSettings.h"
#include "ui/produce/PdfPreview.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include <cstdlib>

namespace cs42 {

namespace {
QMessageBox::Icon toQt(Interaction::Icon icon)
{
    switch (icon) {
    case Interaction::Icon::Information:
        return QMessageBox::Information;
    case Interaction::Icon::Warning:
        return QMessageBox::Warning;
    case Interaction::Icon::Critical:
        return QMessageBox::Critical;
    case Interaction::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString titleOrDefault(const QString& title)
{
    return title.isEmpty() ? ProgramSettings::AppTitle : title;
}
} // namespace

void QtInteraction::inform(QWidget* parent, const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(toQt(icon), titleOrDefault(title), text, QMessageBox::Ok, parent);
    box.exec();
}

Interaction::Answer QtInteraction::ask(QWidget* parent, const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(toQt(icon), titleOrDefault(title), text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString>
QtInteraction::inputText(QWidget* parent, const QString& title, const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, titleOrDefault(title), prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString>
QtInteraction::inputPassword(QWidget* parent, const QString& title, const QString& prompt)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, titleOrDefault(title), prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<int> QtInteraction::chooseItem(
    QWidget* parent, const QString& title, const QString& prompt, const QStringList& items, int current)
{
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(parent, titleOrDefault(title), prompt, items, current, false, &ok);
    if (!ok)
        return std::nullopt;
    const qsizetype index = items.indexOf(chosen);
    return index < 0 ? std::nullopt : std::optional<int>(static_cast<int>(index));
}

bool QtInteraction::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtInteraction::showDocument(QWidget* parent, const QString& path, const PreviewOptions& options)
{
    PdfPreview preview(path, options, *this, parent);
    if (!preview.load())
        return false;
    preview.exec();
    return true;
}

std::optional<QString> QtInteraction::saveFileName(QWidget* parent,
                                                   const QString& title,
                                                   const QString& folder,
                                                   const QString& suggestedName,
                                                   const QString& filter)
{
    QFileDialog dialog(parent, titleOrDefault(title), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks about replacing a file, after its own checks.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QFileInfo(suggestedName).suffix());
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::unique_ptr<QPrinter> QtInteraction::choosePrinter(QWidget* parent, int pageCount)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

bool QtInteraction::copyText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->clear();
    clipboard->setText(text);
    return clipboard->text() == text;
}

void QtInteraction::endProgram(int exitCode)
{
    // "At once": no close questions, no backups.
    std::exit(exitCode);
}

} // namespace cs42
