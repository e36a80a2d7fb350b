#pragma once

#include "core/store/Backup.h"

#include <QDialog>

namespace cs42 {

struct Session;

// "File Utilities": puts the cases or names database back from its backup, continues to the case
// library, or ends the program. Reached by Esc on the splash at start-up only.
class HiddenUtilities : public QDialog
{
    Q_OBJECT

public:
    // exec() results besides Rejected.
    enum Result
    {
        Continue = QDialog::Accepted,
        Ended = 2, // the program was ended (restore or End Program)
    };

    explicit HiddenUtilities(Session& session, QWidget* parent = nullptr);

private:
    void restoreDatabase(const Backup::BackupSet& set, const Backup::RestoreTexts& texts);
    void endProgram();

    Session& m_session;
};

} // namespace cs42
