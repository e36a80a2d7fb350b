#include "ui/shell/HiddenUtilities.h"

#include "ui/common/Interaction.h"
#include "ui/common/Session.h"

#include <QFileInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

HiddenUtilities::HiddenUtilities(Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("HiddenUtilities"));
    setWindowTitle(QStringLiteral("File Utilities"));
    setModal(true);

    auto addButton = [this](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        button->setMinimumHeight(32);
        return button;
    };
    QPushButton* restoreNames = addButton("cmdRestoreNames", QStringLiteral("Restore Names Database"));
    QPushButton* restoreCases = addButton("cmdRestoreCases", QStringLiteral("Restore Cases Database"));
    QPushButton* proceed = addButton("cmdContinue", QStringLiteral("Continue"));
    QPushButton* end = addButton("cmdEndProgram", QStringLiteral("&End Program"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(10);
    for (QPushButton* button : {restoreNames, restoreCases, proceed, end})
        layout->addWidget(button);
    setMinimumWidth(300);

    connect(restoreNames, &QPushButton::clicked, this, [this] {
        restoreDatabase(Backup::BackupSet::names(m_session.paths), Backup::namesRestoreTexts());
    });
    connect(restoreCases, &QPushButton::clicked, this, [this] {
        restoreDatabase(Backup::BackupSet::cases(m_session.paths), Backup::casesRestoreTexts());
    });
    connect(proceed, &QPushButton::clicked, this, [this] { done(Continue); });
    connect(end, &QPushButton::clicked, this, &HiddenUtilities::endProgram);
}

void HiddenUtilities::restoreDatabase(const Backup::BackupSet& set, const Backup::RestoreTexts& texts)
{
    Interaction& interaction = *m_session.interaction;
    if (!Backup::hasBackup(set)) {
        interaction.inform(this, QString(), Backup::noBackupText());
        return;
    }
    if (interaction.ask(this, texts.questionTitle, Backup::restoreQuestion(set, texts)) !=
        Interaction::Answer::Yes)
        return;
    const Backup::RestoreOutcome outcome = Backup::restore(set);
    const QString& error = outcome.error;
    switch (outcome.result) {
    case Backup::RestoreResult::Restored:
        // The next start opens the restored file.
        interaction.inform(this, texts.questionTitle, Backup::restoredText(set, outcome));
        endProgram();
        return;
    case Backup::RestoreResult::NoBackup:
        interaction.inform(this, QString(), Backup::noBackupText());
        return;
    case Backup::RestoreResult::Failed:
        // The live file was not touched: say so, and let the user go on working with it.
        interaction.inform(
            this,
            texts.questionTitle,
            QStringLiteral("The Backup Database File could not be restored, and the Database File "
                           "in use was left as it was.") +
                (error.isEmpty() ? QString() : QStringLiteral("\r\n\r\n") + error),
            Interaction::Icon::Warning);
        return;
    }
}

void HiddenUtilities::endProgram()
{
    // At once: no quit question and no backups.
    m_session.interaction->endProgram(0);
    done(Ended);
}

} // namespace cs42
