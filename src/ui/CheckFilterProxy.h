#pragma once

#include <QSortFilterProxyModel>

#include "check/ReportView.h"

namespace bw {

class CheckRowModel;

// The check's rows as the report window shows them: filtered by status and typed text, sorted by
// any column (check::RowFilter, check::RowLess), kept so while rows arrive.
class CheckFilterProxy : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit CheckFilterProxy(CheckRowModel& rows, QObject* parent = nullptr);

    void SetStatuses(check::StatusSet statuses);
    void SetText(const QString& text);
    // Starts afresh for another Runtime folder, the statuses and text kept.
    void SetRuntime(const std::string& runtime);
    // The rows shown, in the order shown.
    std::vector<check::CheckRow> ShownRows() const;
    // The source row of a shown index; -1 for none.
    int SourceRow(const QModelIndex& index) const;

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    CheckRowModel& rows_;
    check::RowFilter filter_;
    QString text_;
};

}  // namespace bw
