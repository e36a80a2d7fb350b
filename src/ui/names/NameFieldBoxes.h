#pragma once

#include "core/names/NameRecord.h"

#include <QHash>
#include <QWidget>

class QLabel;

namespace cs42 {

// The 35 field boxes of a name record with their labels, in the tab order of the names windows.
// A box that takes the focus turns light yellow (palette colour 14) and back to bright white (15)
// when it loses it; leaving a box emits boxLeft() so that the window can store the record.
class NameFieldBoxes : public QWidget
{
    Q_OBJECT

public:
    explicit NameFieldBoxes(QWidget* parent = nullptr);
    ~NameFieldBoxes() override;

    // Shows every edited column of `record` (a Null column as an empty box).
    void showRecord(const NameRecord& record);
    // Column -> box text, for the 35 edited columns.
    QHash<QString, QString> texts() const;

    // Has a box been edited since the record was shown or last stored?
    bool isEdited() const { return m_edited; }

    void markStored() { m_edited = false; }

    QWidget* box(const QString& column) const { return m_boxes.value(column); }

    QWidget* firstBox() const;
    QWidget* lastBox() const;

signals:
    void boxLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBoxColor(QWidget* box, int colorIndex);
    QString textOf(const QString& column) const;

    QHash<QString, QWidget*> m_boxes; // column -> QLineEdit, or QPlainTextEdit for notes
    bool m_loading = false;
    bool m_edited = false;
};

} // namespace cs42
