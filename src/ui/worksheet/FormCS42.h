#pragma once

#include "core/session/WorksheetSession.h"
#include "core/store/CaseStore.h"
#include "core/worksheet/FormEdition.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QHash>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class QDateTime;
class QFrame;
class QLabel;

namespace cs42 {

class ChangeWatch;
struct Session;
class WindowHost;

// "Worksheet A, Child Support Obligation, Sole Custody" (the title of the case's edition,
// FormEdition::windowTitle): the worksheet of the current case. A
// picture of the blank court form with a label over each printed line; a click on an input line
// opens its entry dialog, stores the answer in the case record and recomputes the whole worksheet
// from the record. The window keeps no case data of its own beyond the last computation.
class FormCS42 : public QWidget
{
    Q_OBJECT

public:
    // Puts the keyboard on the first entry in reading order (the court file box).
    void focusFirstEntry();
    FormCS42(Session& session, WindowHost& host, QWidget* parent = nullptr);

    // Colours the highlighted labels of the edition shown with the session's highlight colour.
    void ChangeFieldColors();
    // Reads the current case, computes every line and shows the captions.
    void RecalculateWorksheet();
    // Produces the filled court form after the notice, and shows it in the preview window.
    void ProduceForm();
    // Shows the History window of the current case: every change saved to it, newest first.
    void ShowHistory();

    // The labels of the 2009 form whose background follows the highlight colour.
    static const QStringList& highlightedLabels();

    // The form edition the worksheet shows: the current case's.
    const FormEdition& edition() const { return *m_edition; }

    // The last generated written explanation (empty until the first).
    const QString& explanationText() const { return m_explanationText; }

    // The last computation (nullopt until one succeeded).
    const std::optional<Worksheet>& worksheet() const { return m_sheet.worksheet(); }

    // Every caption the worksheet shows, label name -> text, as displayed now.
    Captions displayedCaptions() const;

    // The one-line notice of a change another workstation made to the case shown (empty when none
    // is shown). The worksheet follows such changes by itself: see refreshFromStore().
    QString changeNotice() const;
    // The notice's text: the changes in one line ("Line 1, defendant: 5,287 → 5,400"; `changes` is
    // WorksheetSession::describeChanges, one a line), where and when ("changed at workstation B,
    // 10:42"; the date too when it was not `today`). Without a workstation only the changes.
    static QString changeNoticeText(const QString& changes,
                                    const QString& workstation,
                                    const QDateTime& when,
                                    const QDate& today);
    // The notice of a case deleted at another workstation while it was shown.
    static QString
    caseDeletedNoticeText(const QString& workstation, const QDateTime& when, const QDate& today);

    // What the user is told when the case has gone (deleted from another workstation).
    static QString caseRemovedText();
    // What production and the written explanation say of a case gone since the worksheet showed it.
    static QString caseGoneText();
    // Asked before producing a form whose stored figures differ from those the worksheet showed
    // (`changes`: WorksheetSession::describeChanges).
    static QString changedElsewhereQuestion(const QString& changes);
    // Asked for an entry that another workstation changed while the user made it.
    static QString conflictQuestion(const QString& what, const QString& stored, const QString& yours);
    // Asked after a save that another workstation's lock or a full disk refused.
    static QString saveAgainQuestion();
    // Said when a text typed into a header, signature or comments box is longer than its field
    // of the form holds.
    static QString textTooLongText(qsizetype length, qsizetype limit);
    // The "Number of Children" box's prompt, and what it says to a text that is no such number.
    static QString numberOfChildrenPrompt();
    static QString numberOfChildrenRefusal(const QString& text);
    // Asked before a case changes to another form edition: what carries over, what to check.
    // `costsKept`: the child care and coverage stored for `to` already match those of `from`
    // and stay as they are (EditionCarryOver::needed false).
    static QString
    editionSwitchQuestion(const FormEdition& from, const FormEdition& to, bool costsKept = false);
    // Asked next when the switch would replace each parent's own amounts stored for `to` with
    // lines 5 and 6 that were changed on the 2009 form `from` (EditionCarryOver::replacesAmounts).
    static QString replaceAmountsQuestion(const FormEdition& from, const FormEdition& to);
    // The accessible name of a line showing `caption`: "Line 1, Monthly Gross Income, plaintiff:
    // 4,250", or "Court File Number: DR-1" for a box that is no numbered line.
    static QString accessibleText(const LineDef& line, const QString& caption);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPicture();
    // Tab and Shift+Tab move through the entries in the form's reading order; the arrows move to
    // the neighbouring entry; Enter or Space opens the entry's dialog.
    void setUpKeyboard();
    void moveFocus(QLabel* from, int key);
    // Builds the picture of the case's edition again when the last computation used another one.
    void followEdition();
    // Gives a warning label the largest font, up to 14 pixels, in which its text fits its place.
    void fitWarning(QLabel* warning);
    QLabel* addLabel(const QString& name, const QString& text = QString());
    QLabel* label(const QString& name) const;
    void
    placeFormLabels(const QHash<QString, QRectF>& fieldRects, const QSizeF& pageSize, const QPoint& origin);

    // Routes a click on a label to its line's entry.
    void clicked(const QString& name);
    void openEntry(const QString& name);
    // Runs a user's action (an entry, production, the history): a change another workstation makes
    // meanwhile is shown once it is done, so that an entry is saved against the case as it was when
    // it opened (the save's conflict check) and production asks about what it finds changed.
    void act(const std::function<void()>& action);
    void produceForm();
    void showHistory();
    void editIncome(const LineDef& line);
    void editPreexistingSupport(const LineDef& line);
    void editAlimony(const LineDef& line);
    void editOverride(const LineDef& line);
    void editChildCare(const LineDef& line);
    void editHealthInsurance(const LineDef& line);
    void editAmount(const LineDef& line);
    void editNumberOfChildren(const LineDef& line);
    void chooseEdition();
    void editChildren();
    void toggle(const LineDef& line);
    void editTextField(const LineDef& line);
    void chooseParty(const LineDef& line);
    void showExplanation();

    // Shows the captions and warnings of the last computation.
    void showComputation();
    std::optional<CaseRecord> currentCase();
    // Stores an entry and shows the recomputed worksheet.
    void apply(const ColumnValues& values);
    // Runs a store operation; a busy or full database asks whether to try again, so that the entry
    // is not lost. False unless it succeeded.
    bool store(const std::function<CaseStoreStatus()>& operation);
    // Recomputes from the case as stored now and shows it; the captions that changed since the
    // last computation, or nullopt when the case is gone or cannot be read (the user was told).
    std::optional<QList<CaptionChange>> rereadCase();
    // Asks about each column another workstation changed while an entry was made, stores the
    // user's values chosen over the stored ones, and recomputes.
    CaseStoreStatus resolveConflicts();
    // Tells the user about a store failure; false unless the status is Ok.
    bool storeOk(CaseStoreStatus status);

    // Another workstation changed the cases (`caseId` when the server said which).
    void casesChangedElsewhere(const QString& caseId);
    // Recomputes from the case as stored and, when that changed what the worksheet shows, shows it
    // with the one-line notice. Never asks anything: a failure to read is tried again shortly. It
    // waits while an action runs (act()) or a modal window is open.
    void refreshFromStore();
    void showChangeNotice(const QString& text);

    Session& m_session;
    WindowHost& m_host;
    const FormEdition* m_edition;
    WorksheetSession m_sheet;
    // Holds the picture and every label over it, so that another edition's picture replaces it all.
    QWidget* m_page = nullptr;
    QHash<QString, QLabel*> m_labels;
    QList<QLabel*> m_focusChain;
    QLabel* m_image1 = nullptr;
    QString m_explanationText;
    QString m_caseNameText; // the case and the file it is in, above the picture
    ChangeWatch* m_watch = nullptr;
    QLabel* m_notice = nullptr;
    QString m_noticeText;
    QTimer m_refreshRetry;
    int m_actionsRunning = 0;
    bool m_caseGone = false;
    // Where the children's warning stands: the whole space between the toggles and the explanation,
    // or its upper half while the edition's warning shows below it.
    QRect m_childrenWarningWhole;
    QRect m_childrenWarningShared;
};

} // namespace cs42
