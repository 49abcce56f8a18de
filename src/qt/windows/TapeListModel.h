#pragma once
// The tape as a list model. Rows are read from the core's tape when drawn, never copied, and
// the model is told of every appended line, so a long tape costs nothing per key.

#include <QAbstractListModel>
#include <QColor>

#include <functional>
#include <string>

#include "engine/Tape.h"

namespace qb {

class TapeListModel final : public QAbstractListModel, public TapeListener {
    Q_OBJECT
public:
    explicit TapeListModel(Tape& tape, QObject* parent = nullptr);
    ~TapeListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void LinesAppended(std::int64_t first, std::int64_t last) override;
    void TapeReset() override;
    void LinesRemoved(std::int64_t first, std::int64_t last) override;
    void LinesChanged(std::int64_t first, std::int64_t last) override;

    // The colour corrected lines stand out in, chosen to read on the tape's background.
    void SetCorrectedColour(const QColor& colour) { corrected_ = colour; }
    // A re-key check's lines that differ: their background, and what a line's difference says.
    void SetDifferences(std::function<std::string(std::int64_t)> difference, const QColor& background) {
        difference_ = std::move(difference);
        differing_ = background;
    }

private:
    Tape& tape_;
    QColor corrected_;
    std::function<std::string(std::int64_t)> difference_;
    QColor differing_;
};

}  // namespace qb
