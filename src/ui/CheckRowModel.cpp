#include "ui/CheckRowModel.h"

#include <QBrush>
#include <QColor>
#include <QStringList>

#include "check/CheckReport.h"
#include "check/ReportView.h"

namespace bw {

namespace {

using check::RefStatus;
using check::ReportColumn;

QString FromBytes(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor StatusColor(RefStatus status) {
    switch (status) {
        case RefStatus::Moved:
        case RefStatus::Ambiguous:
            return QColor(0xA3, 0x5A, 0x00);
        case RefStatus::Missing:
        case RefStatus::Unreadable:
            return QColor(0xB0, 0x00, 0x00);
        case RefStatus::Ok:
        case RefStatus::Internal:
            break;
    }
    return QColor(0x2E, 0x6B, 0x2E);
}

}  // namespace

CheckRowModel::CheckRowModel(QObject* parent) : QAbstractTableModel(parent) {}

void CheckRowModel::Reset(const std::string& runtime) {
    beginResetModel();
    rows_.clear();
    runtime_ = runtime;
    for (auto& c : counts_) c = 0;
    endResetModel();
}

void CheckRowModel::Append(std::vector<check::CheckRow>&& rows) {
    if (rows.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (auto& r : rows) {
        ++counts_[static_cast<size_t>(r.status)];
        rows_.push_back(std::move(r));
    }
    endInsertRows();
}

int CheckRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CheckRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : check::kReportColumnCount;
}

QVariant CheckRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const check::CheckRow& row = rows_[static_cast<size_t>(index.row())];
    const auto column = static_cast<ReportColumn>(index.column());
    switch (role) {
        case Qt::DisplayRole:
            switch (column) {
                case ReportColumn::Status:
                    return FromBytes(check::StatusTitle(row.status));
                case ReportColumn::File:
                    return FromBytes(check::ShownPath(row.file, runtime_));
                case ReportColumn::Line:
                    return row.line ? QVariant(row.line) : QVariant();
                case ReportColumn::Keyword:
                    return row.keyword ? FromBytes(check::KeywordName(*row.keyword)) : QVariant();
                case ReportColumn::Reference:
                    return FromBytes(row.status == RefStatus::Unreadable ? row.reason
                                                                         : row.reference.str());
                case ReportColumn::FoundAt: {
                    QStringList found;
                    for (const auto& c : row.candidates)
                        found << FromBytes(check::ShownPath(c, runtime_));
                    return found.join("; ");
                }
            }
            return {};
        case Qt::ToolTipRole:
            // The whole host path where the column shows a shortened one.
            if (column == ReportColumn::File) return FromBytes(row.file.str());
            if (column == ReportColumn::FoundAt && !row.candidates.empty()) {
                QStringList all;
                for (const auto& c : row.candidates) all << FromBytes(c);
                return all.join('\n');
            }
            if (column == ReportColumn::Reference) return data(index, Qt::DisplayRole);
            return {};
        case Qt::ForegroundRole:
            if (column == ReportColumn::Status) return QBrush(StatusColor(row.status));
            return {};
        case Qt::TextAlignmentRole:
            if (column == ReportColumn::Line) return int(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default:
            return {};
    }
}

QVariant CheckRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeaders[check::kReportColumnCount] = {
        "Status", "Library file", "Line", "Keyword", "Reference", "Found at"};
    return section >= 0 && section < columnCount() ? QString(kHeaders[section]) : QVariant();
}

}  // namespace bw
