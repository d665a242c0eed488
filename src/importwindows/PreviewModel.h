#pragma once

#include "importing/ImportPlan.h"

#include <QAbstractTableModel>
#include <memory>

namespace importwindows {

// The import preview: one row per line of the file that gives a row, with whether it
// is taken, its line, status, vehicle, what it becomes and why it is refused or what
// the user should know. Reads the plan in place (no item per row), so a file of
// 100,000 rows shows at once. The Import column is checkable on new and duplicate rows.
class PreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Take, Line, Status, Vehicle, Becomes, Remarks, ColumnCount };

    explicit PreviewModel(QObject* parent = nullptr);

    void setPlan(std::shared_ptr<importing::ImportPlan> plan);
    const importing::ImportPlan* plan() const { return m_plan.get(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString statusText(importing::RowStatus status);
    // The reason and the warnings of a row, as the Remarks column shows them.
    static QString remarksText(const importing::PlannedRow& row);

signals:
    // The user took a row in or left it out.
    void takenChanged();

private:
    std::shared_ptr<importing::ImportPlan> m_plan;
};

} // namespace importwindows
