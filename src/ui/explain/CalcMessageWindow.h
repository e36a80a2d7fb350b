#pragma once

#include <QDialog>

#include <functional>
#include <optional>

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

    // The explanation as the case is stored at this moment, asked again when Copy is pressed: the
    // case may have been changed at another workstation since the window opened. nullopt: the
    // case is gone, and nothing is copied (the provider has said why).
    using Reread = std::function<std::optional<QString>()>;

    void setReread(Reread reread) { m_reread = std::move(reread); }

    static QString changedText()
    {
        return QStringLiteral("This case was changed at another workstation since this explanation was "
                              "written. The box now shows the explanation of the case as stored, and that is "
                              "the text copied.");
    }

private:
    void copyToClipboard();

    QString m_explanationText;
    Reread m_reread;
    QPlainTextEdit* m_text = nullptr;
    Interaction& m_interaction;
};

} // namespace cs42
