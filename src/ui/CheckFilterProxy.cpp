#include "ui/CheckFilterProxy.h"

#include "ui/CheckRowModel.h"

namespace bw {

CheckFilterProxy::CheckFilterProxy(CheckRowModel& rows, QObject* parent)
    : QSortFilterProxyModel(parent), rows_(rows) {
    setSourceModel(&rows);
    setDynamicSortFilter(true);
}

void CheckFilterProxy::SetStatuses(check::StatusSet statuses) {
    if (statuses == filter_.statuses()) return;
    filter_.SetStatuses(statuses);
    invalidateRowsFilter();
}

void CheckFilterProxy::SetText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    filter_.SetText(text.toStdString());
    invalidateRowsFilter();
}

void CheckFilterProxy::SetRuntime(const std::string& runtime) {
    const check::StatusSet statuses = filter_.statuses();
    filter_ = check::RowFilter(runtime);
    filter_.SetStatuses(statuses);
    filter_.SetText(text_.toStdString());
    invalidateRowsFilter();
}

std::vector<check::CheckRow> CheckFilterProxy::ShownRows() const {
    std::vector<check::CheckRow> shown;
    shown.reserve(static_cast<size_t>(rowCount()));
    for (int r = 0; r < rowCount(); ++r)
        shown.push_back(rows_.rows()[static_cast<size_t>(SourceRow(index(r, 0)))]);
    return shown;
}

int CheckFilterProxy::SourceRow(const QModelIndex& index) const {
    const QModelIndex source = mapToSource(index);
    return source.isValid() ? source.row() : -1;
}

bool CheckFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return filter_.Accepts(rows_.rows()[static_cast<size_t>(sourceRow)]);
}

bool CheckFilterProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto& rows = rows_.rows();
    return check::RowLess(rows[static_cast<size_t>(left.row())],
                          rows[static_cast<size_t>(right.row())],
                          static_cast<check::ReportColumn>(left.column()));
}

}  // namespace bw
