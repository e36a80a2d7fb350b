#pragma once

#include "core/format/Captions.h"

#include <QFileDevice>
#include <QString>

namespace cs42 {

struct FormEdition;

enum class ProduceStatus
{
    Produced,
    MissingTemplate,
    // The template exists but is no readable PDF form; nothing was written.
    TemplateUnreadable,
    // The template is a PDF, but not the blank CS-42 form: it has no fields, or a field stands
    // where the form has another (Cs42Form::formFieldNames). Nothing was written.
    TemplateMismatch,
    // A caption is longer than its field holds (FieldLimits::maxLength); nothing was written.
    CaptionTooLong,
    // The output path names something a form must not replace (see outputPathProblem).
    OutputRefused,
    SaveFailed,
};

// Outcome of one production. Unless Produced, `title` and `text` are the message to show the user
// (an empty title means the program's default message-box title).
struct ProduceResult
{
    ProduceStatus status = ProduceStatus::SaveFailed;
    QString title;
    QString text;
    int fieldCount = 0; // text fields of the template (0 when it could not be read)
};

// Produces the filled court form: refuses a caption longer than its field holds, loads the blank
// template and checks that it has fields and that each field the map fills carries the name the
// form gives it there, numbers every field (" 1", " 2", ...), then gives the fields of the CS-42
// field map the captions exactly as the worksheet displays them (a label missing from `captions`
// leaves its field empty), writes an appearance for every filled widget so any viewer shows the
// values, and saves to `outputPath`. The fields stay fillable. The output is written to a
// temporary file beside it and renamed over it, so a failed production leaves any earlier output
// as it was. The template is only read, and never written over; nor is anything that is not a PDF
// file (see outputPathProblem). Shows nothing, opens nothing.
ProduceResult fillForm(const QString& templatePath, const QString& outputPath, const Captions& captions);
// The same for the template of `edition`. An edition filled by name (FormEdition::fillsByName)
// gives each field its label's caption by the field's name, leaves any other field of the template
// as it is (the court's own fillable PDF may stand in for the generated template), and refuses a
// template that lacks one of the edition's fields.
ProduceResult fillForm(const QString& templatePath,
                       const QString& outputPath,
                       const Captions& captions,
                       const FormEdition& edition);

// Why the produced form could not be saved.
enum class SaveFailureCause
{
    FileInUse,         // the earlier form could not be replaced: a viewer holds it open
    FolderMissing,     // the output's folder is not there (or is a file)
    FolderNotWritable, // no permission to create a file in the folder
    FileNotWritable,   // no permission to replace the earlier form
    DiskFull,
    Other,
};

// The cause of a failed save from the file error it ended with and what the file system shows
// afterwards. Saving writes a new file beside the output and renames it over the output, so a
// failed rename is the earlier form held open (the only way it fails on Windows while a viewer
// shows the form).
SaveFailureCause saveFailureCause(
    QFileDevice::FileError error, bool folderExists, bool folderWritable, bool fileExists, bool fileWritable);

// The messages of a failed production.
QString missingTemplateMessage(const QString& templatePath);
QString saveFailedTitle();
// The earlier form is in use (SaveFailureCause::FileInUse).
QString saveFailedMessage();
// Any cause, naming the folder or file concerned; `systemText` is the system's own error text,
// shown for a cause without a message of its own.
QString saveFailedMessage(SaveFailureCause cause, const QString& outputPath, const QString& systemText);

} // namespace cs42
