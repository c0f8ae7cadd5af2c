#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "check/CheckTypes.h"

namespace bw {

// The rows of a library check as a table: Status, Library file, Line, Keyword, Reference and
// Found at (check::ReportColumn), paths shown below the Runtime folder. Rows are only ever added,
// in batches, or all cleared.
class CheckRowModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit CheckRowModel(QObject* parent = nullptr);

    // Forgets every row; paths are shown relative to `runtime` (a host path) from now on.
    void Reset(const std::string& runtime);
    void Append(std::vector<check::CheckRow>&& rows);

    const std::vector<check::CheckRow>& rows() const { return rows_; }
    const std::string& runtime() const { return runtime_; }
    size_t count(check::RefStatus status) const { return counts_[static_cast<size_t>(status)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    std::vector<check::CheckRow> rows_;
    std::string runtime_;
    size_t counts_[check::kStatusCount] = {};
};

}  // namespace bw
