#include "DataControl.h"

#include "BoundControl.h"
#include "SharedDatabase.h"
#include "platform/ErrorReporting.h"
#include "store/Database.h"
#include "store/Definitions.h"
#include "store/StoreErrors.h"

#include <QHBoxLayout>

namespace records {

DataControl::DataControl(QWidget* parent)
    : QWidget(parent), m_first(new QToolButton(this)), m_previous(new QToolButton(this)),
      m_next(new QToolButton(this)), m_last(new QToolButton(this)), m_caption(new QLabel(this)) {
    setupButtons();
}

DataControl::~DataControl() {
    if (m_recordset)
        m_recordset->setObserver(nullptr);
}

void DataControl::setupButtons() {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const struct {
        QToolButton* button;
        const char* name;
        const char* glyph;
        const char* tip;
    } buttons[] = {{m_first, "btnFirst", "|<", "First record"},
                   {m_previous, "btnPrevious", "<", "Previous record"},
                   {m_next, "btnNext", ">", "Next record"},
                   {m_last, "btnLast", ">|", "Last record"}};
    for (const auto& b : buttons) {
        b.button->setObjectName(QLatin1String(b.name));
        b.button->setText(QLatin1String(b.glyph));
        b.button->setToolTip(tr(b.tip));
        b.button->setAccessibleName(tr(b.tip));
        b.button->setFocusPolicy(Qt::NoFocus);
    }
    m_caption->setObjectName(QStringLiteral("caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_first);
    layout->addWidget(m_previous);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_next);
    layout->addWidget(m_last);

    // At either end the buttons stay on the first or last row instead of failing.
    connect(m_first, &QToolButton::clicked, this,
            platform::reported([this] { navigate(&store::Recordset::MoveFirst, false); }));
    connect(m_previous, &QToolButton::clicked, this,
            platform::reported([this] { navigate(&store::Recordset::MovePrevious, false); }));
    connect(m_next, &QToolButton::clicked, this,
            platform::reported([this] { navigate(&store::Recordset::MoveNext, true); }));
    connect(m_last, &QToolButton::clicked, this,
            platform::reported([this] { navigate(&store::Recordset::MoveLast, true); }));
}

void DataControl::navigate(void (store::Recordset::*move)(), bool toEnd) {
    if (!m_recordset || (m_recordset->isBOF() && m_recordset->isEOF()))
        return;
    if (toEnd && m_recordset->isEOF())
        return m_recordset->MoveLast();
    if (!toEnd && m_recordset->isBOF())
        return m_recordset->MoveFirst();
    (m_recordset.get()->*move)();
    if (m_recordset->isEOF())
        m_recordset->MoveLast();
    else if (m_recordset->isBOF())
        m_recordset->MoveFirst();
}

void DataControl::Refresh() {
    // A control keeps the connection it has: the rows of one window come from one file,
    // and a save into a file replaced meanwhile is refused, not sent to the new one.
    std::shared_ptr<store::Database> database = m_database && m_database->path() == m_databaseName
                                                    ? m_database
                                                    : sharedDatabase(m_databaseName);
    std::unique_ptr<store::Recordset> recordset = database->OpenRecordset(m_recordSource);
    if (m_recordset)
        m_recordset->setObserver(nullptr);
    m_database = std::move(database);
    m_recordset = std::move(recordset);
    m_recordset->setObserver(this);
    if (!m_recordset->isEOF())
        m_recordset->MoveFirst(); // tells the bound controls and the window
    else
        repositioned();
    emit recordsetReplaced();
}

void DataControl::openIfNeeded() {
    if (!m_recordset && !m_recordSource.isEmpty())
        Refresh();
}

store::Recordset* DataControl::Recordset() const {
    if (!m_recordset)
        store::raise(store::errNoCurrentRecord,
                     QStringLiteral("The data source has no open record set."));
    return m_recordset.get();
}

void DataControl::setCaption(const QString& caption) {
    m_caption->setText(caption);
}

QString DataControl::Caption() const {
    return m_caption->text();
}

store::EditMode DataControl::EditMode() const {
    return m_recordset ? m_recordset->editMode() : store::EditMode::None;
}

void DataControl::addBoundControl(BoundControl* control) {
    m_bound.append(control);
    if (m_recordset)
        showCurrentRow();
}

void DataControl::showCurrentRow() {
    const bool hasRow = m_recordset && !m_recordset->isBOF() && !m_recordset->isEOF();
    for (BoundControl* control : m_bound) {
        QVariant value;
        store::FieldDef field(control->dataField());
        if (hasRow) {
            field.type = m_recordset->fieldType(control->dataField());
            value = m_recordset->value(control->dataField());
        }
        control->showValue(field, value);
        control->clearChanged();
    }
}

void DataControl::showBlankRow() {
    for (BoundControl* control : m_bound) {
        store::FieldDef field(control->dataField());
        field.type = m_recordset->fieldType(control->dataField());
        control->showValue(field, QVariant());
        control->clearChanged();
    }
}

void DataControl::repositioned() {
    showCurrentRow();
    emit Reposition();
}

void DataControl::addNewStarted() {
    showBlankRow();
}

// Typed text left over from a failed save must not slip into the row now edited.
void DataControl::editStarted() {
    showCurrentRow();
    emit storedRowShownAgain();
}

void DataControl::editCancelled() {
    showCurrentRow();
    emit storedRowShownAgain();
}

void DataControl::aboutToUpdate() {
    // Only what the user (or code) changed goes into the row.
    for (BoundControl* control : m_bound)
        if (control->isChanged())
            m_recordset->setValue(control->dataField(), control->editedValue());
}

void DataControl::deleted() {
    // Other deletes are followed by a move; after the last row none can be made.
    if (m_recordset->RecordCount() == 0)
        repositioned();
}

void DataControl::updated() {
    for (BoundControl* control : m_bound)
        control->clearChanged();
}

} // namespace records
