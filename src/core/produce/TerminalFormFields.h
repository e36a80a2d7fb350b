#pragma once

#include <QList>
#include <QString>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace cs42 {

// A field that carries a value, with the widget annotations that show it.
struct TerminalFormField
{
    QPDFObjectHandle field;
    QList<QPDFObjectHandle> widgets; // the field itself when field and widget are merged
    QString name;                    // partial names joined with "."
};

// The terminal fields of the document's interactive form in field order: a depth-first walk of
// /AcroForm /Fields and the /Kids of every non-terminal field. QPDF's own field list follows
// object numbers instead, which is not the order the form's fields are numbered in.
// A document without a form gives an empty list; a cycle in /Kids is walked once.
QList<TerminalFormField> terminalFormFields(QPDF& pdf);

// A field attribute that may be inherited from the field's ancestors (/FT, /Ff, /DA, /Q, /V);
// a null handle when no ancestor has it.
QPDFObjectHandle inheritedFieldAttribute(QPDFObjectHandle field, const std::string& key);

} // namespace cs42
