#include "core/produce/TerminalFormFields.h"

#include <set>

namespace cs42 {

namespace {

// Deep enough for any real form, shallow enough that a malformed one cannot exhaust the stack.
constexpr int MaxFieldDepth = 32;

bool isFieldDictionary(QPDFObjectHandle node)
{
    return node.isDictionary() && node.hasKey("/T");
}

class FieldWalk
{
public:
    QList<TerminalFormField> fields;

    void visit(QPDFObjectHandle node, const QString& parentName, int depth)
    {
        if (!node.isDictionary() || depth > MaxFieldDepth)
            return;
        if (node.isIndirect() && !m_seen.insert(node.getObjGen()).second)
            return;
        QString name = parentName;
        QPDFObjectHandle partial = node.getKey("/T");
        if (partial.isString()) {
            const QString part = QString::fromStdString(partial.getUTF8Value());
            name = name.isEmpty() ? part : name + QLatin1Char('.') + part;
        }
        QPDFObjectHandle kids = node.getKey("/Kids");
        bool hasFieldKids = false;
        if (kids.isArray()) {
            for (int i = 0; i < kids.getArrayNItems(); ++i) {
                if (isFieldDictionary(kids.getArrayItem(i)))
                    hasFieldKids = true;
            }
        }
        if (hasFieldKids) {
            for (int i = 0; i < kids.getArrayNItems(); ++i)
                visit(kids.getArrayItem(i), name, depth + 1);
            return;
        }
        TerminalFormField field{node, {}, name};
        if (kids.isArray() && kids.getArrayNItems() > 0) {
            for (int i = 0; i < kids.getArrayNItems(); ++i) {
                QPDFObjectHandle widget = kids.getArrayItem(i);
                if (widget.isDictionary())
                    field.widgets.append(widget);
            }
        } else if (node.hasKey("/Rect")) {
            field.widgets.append(node);
        }
        fields.append(field);
    }

private:
    std::set<QPDFObjGen> m_seen;
};

} // namespace

QList<TerminalFormField> terminalFormFields(QPDF& pdf)
{
    FieldWalk walk;
    QPDFObjectHandle acroForm = pdf.getRoot().getKey("/AcroForm");
    if (!acroForm.isDictionary())
        return {};
    QPDFObjectHandle top = acroForm.getKey("/Fields");
    if (!top.isArray())
        return {};
    for (int i = 0; i < top.getArrayNItems(); ++i)
        walk.visit(top.getArrayItem(i), QString(), 0);
    return walk.fields;
}

QPDFObjectHandle inheritedFieldAttribute(QPDFObjectHandle field, const std::string& key)
{
    QPDFObjectHandle node = field;
    for (int depth = 0; depth <= MaxFieldDepth && node.isDictionary(); ++depth) {
        if (node.hasKey(key))
            return node.getKey(key);
        node = node.getKey("/Parent");
    }
    return QPDFObjectHandle::newNull();
}

} // namespace cs42
