#pragma once

#include "core/store/CaseStore.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QHash>
#include <QWidget>

#include <optional>

class QFrame;
class QLabel;

namespace cs42 {

struct Session;
class WindowHost;

// "Worksheet A, Child Support Obligation, Sole Custody": the worksheet of the current case. A
// picture of the blank court form with a label over each printed line; a click on an input line
// opens its entry dialog, stores the answer in the case record and recomputes the whole worksheet
// from the record. The window keeps no case data of its own beyond the last computation.
class FormCS42 : public QWidget
{
    Q_OBJECT

public:
    FormCS42(Session& session, WindowHost& host, QWidget* parent = nullptr);

    // Colours the 35 highlighted labels with the session's highlight colour.
    void ChangeFieldColors();
    // Reads the current case, computes every line and shows the captions.
    void RecalculateWorksheet();
    // Produces the filled court form after the notice, and opens it.
    void ProduceForm();

    // The labels whose background follows the highlight colour.
    static const QStringList& highlightedLabels();

    // The last generated written explanation (empty until the first).
    const QString& explanationText() const { return m_explanationText; }

    // The last computation (nullopt until one succeeded).
    const std::optional<Worksheet>& worksheet() const { return m_worksheet; }

    // Every caption the worksheet shows, label name -> text, as displayed now.
    Captions displayedCaptions() const;

    // What the user is told when the case has gone (deleted from another workstation).
    static QString caseRemovedText();
    // Asked after a save that another workstation's lock or a full disk refused.
    static QString saveAgainQuestion();
    // Said when a text typed into a header, signature or comments box is longer than its field
    // of the form holds.
    static QString textTooLongText(qsizetype length, qsizetype limit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPicture();
    // Gives a warning label the largest font, up to 14 pixels, in which its text fits its place.
    void fitWarning(QLabel* warning);
    QLabel* addLabel(const QString& name, const QString& text = QString());
    QLabel* label(const QString& name) const;
    void
    placeFormLabels(const QHash<QString, QRectF>& fieldRects, const QSizeF& pageSize, const QPoint& origin);

    void clicked(const QString& name);
    void editIncome(const QString& name);
    void editPreexistingSupport(const QString& name);
    void editAlimony(const QString& name);
    void editOverride();
    void editChildCare();
    void editHealthInsurance();
    void editChildren();
    void toggle(const QString& column, const QString& name);
    void editTextField(const QString& name);
    void chooseParty(const QString& name);
    void showExplanation();

    std::optional<CaseRecord> currentCase();
    bool save(const ColumnValues& values);
    // Tells the user about a store failure; false unless the status is Ok.
    bool storeOk(CaseStoreStatus status, const CaseStore& store);

    Session& m_session;
    WindowHost& m_host;
    QHash<QString, QLabel*> m_labels;
    QLabel* m_image1 = nullptr;
    std::optional<Worksheet> m_worksheet;
    QString m_explanationText;
};

} // namespace cs42
