#pragma once

#include <QString>
#include <QVariant>

namespace store {
struct FieldDef;
}

namespace records {

class DataControl;

// What a data source control needs of a control bound to one of its fields: show
// the current row's value, and hand back what the user (or code) changed.
class BoundControl {
public:
    virtual ~BoundControl() = default;

    // Binds the control to a field; the data source shows values and collects changes.
    void bind(DataControl* source, const QString& field);

    QString dataField() const { return m_dataField; }
    void setDataField(const QString& field) { m_dataField = field; }

    // Shows a field value; the control is then unchanged.
    virtual void showValue(const store::FieldDef& field, const QVariant& value) = 0;
    // The value to write into the row: typed text, or a boolean for check boxes.
    virtual QVariant editedValue() const = 0;

    bool isChanged() const { return m_changed; }
    void clearChanged() { m_changed = false; }

protected:
    // Called by the control whenever its content changes; changes made while it
    // shows a row's value do not count.
    void noteContentChanged() {
        if (!m_showing)
            m_changed = true;
    }
    // Marks the span in which the control shows a stored value.
    class Showing {
    public:
        explicit Showing(BoundControl& control) : m_control(control) { m_control.m_showing = true; }
        ~Showing() { m_control.m_showing = false; }

    private:
        BoundControl& m_control;
    };

private:
    QString m_dataField;
    bool m_changed = false;
    bool m_showing = false;
};

} // namespace records
