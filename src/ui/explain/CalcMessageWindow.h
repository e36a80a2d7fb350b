#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace cs42 {

class Interaction;

// "Written Explanation of Child Support Calculation": shows the explanation just written and copies
// it to the clipboard. Modal; changes nothing in the case.
class CalcMessageWindow : public QDialog
{
    Q_OBJECT

public:
    CalcMessageWindow(const QString& explanationText, Interaction& interaction, QWidget* parent = nullptr);

    static QString copiedText() { return QStringLiteral("The text has been copied to the Clipboard!"); }

private:
    void copyToClipboard();

    QString m_explanationText;
    Interaction& m_interaction;
};

} // namespace cs42
