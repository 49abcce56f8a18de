#include "windows/TapeListModel.h"

#include <QColor>

#include <limits>

#include "aids/Tooltips.h"
#include "engine/NoteLines.h"
#include "engine/TaxLines.h"
#include "platform/CodePage.h"

namespace qb {
namespace {

int ClampRow(std::int64_t row) {
    return static_cast<int>(std::min<std::int64_t>(row, std::numeric_limits<int>::max() - 1));
}

}  // namespace

TapeListModel::TapeListModel(Tape& tape, QObject* parent)
    : QAbstractListModel(parent), tape_(tape), corrected_(static_cast<QRgb>(kCorrectedLineColour)) {
    tape_.SetListener(this);
}

TapeListModel::~TapeListModel() { tape_.SetListener(nullptr); }

int TapeListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ClampRow(tape_.Count());
}

QVariant TapeListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= tape_.Count()) return {};
    // A line is 18 characters wide; one from a file may be megabytes long, and only its start
    // can be seen, so only that much is drawn.
    constexpr std::size_t kShown = 256;
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return FromCodePage(ShownLine(tape_.Line(index.row()).substr(0, kShown)));
    // A line that differs from the first keying of a re-key check stands out, and says how.
    if (difference_ && (role == Qt::BackgroundRole || role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)) {
        const std::string difference = difference_(index.row());
        if (!difference.empty()) return role == Qt::BackgroundRole ? QVariant(differing_) : QVariant(FromCodePage(difference));
    }
    // A corrected line stands out, and says what it showed before.
    if (role == Qt::ForegroundRole || role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
        const std::string* was = tape_.CorrectedFrom(index.row());
        if (!was) {
            // A business key's line says what it is; a tax line, its rate.
            if (role == Qt::ForegroundRole) return {};
            const std::string described = BusinessLineDescription(tape_.Lines(), index.row());
            return described.empty() ? QVariant() : QVariant(FromCodePage(described));
        }
        if (role == Qt::ForegroundRole) return corrected_;
        return FromCodePage(CorrectedDescription(*was));
    }
    return {};
}

Qt::ItemFlags TapeListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

void TapeListModel::LinesAppended(std::int64_t first, std::int64_t last) {
    // The tape has already grown; the views learn of the new rows in one step.
    beginInsertRows(QModelIndex(), ClampRow(first), ClampRow(last));
    endInsertRows();
}

void TapeListModel::LinesRemoved(std::int64_t first, std::int64_t last) {
    beginRemoveRows(QModelIndex(), ClampRow(first), ClampRow(last));
    endRemoveRows();
}

void TapeListModel::LinesChanged(std::int64_t first, std::int64_t last) {
    emit dataChanged(index(ClampRow(first)), index(ClampRow(last)));
}

void TapeListModel::TapeReset() {
    beginResetModel();
    endResetModel();
}

}  // namespace qb
