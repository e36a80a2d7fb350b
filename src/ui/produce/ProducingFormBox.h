#pragma once

#include <QDialog>

namespace cs42 {

// The notice "Produce Form" shown before the filled court form is produced. Only "&Cancel" stops
// production; closing the notice any other way goes ahead.
class ProducingFormBox : public QDialog
{
    Q_OBJECT

public:
    explicit ProducingFormBox(QWidget* parent = nullptr);

    // Shows the notice modally; true unless the user chose "&Cancel".
    static bool confirm(QWidget* parent);

    bool produceConfirmed() const { return m_produceConfirmed; }

private:
    bool m_produceConfirmed = true;
};

} // namespace cs42
