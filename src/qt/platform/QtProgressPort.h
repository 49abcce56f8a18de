#pragma once
// Long work's progress in a QProgressDialog with Cancel, shown only once the work has lasted
// half a second.

#include <QPointer>
#include <QProgressDialog>
#include <memory>

#include "platform/ProgressPort.h"

namespace qb {

class QtProgressPort final : public ProgressPort {
public:
    QtProgressPort();
    ~QtProgressPort() override;
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Begin(const std::string& what, std::int64_t steps) override;
    bool Advance(std::int64_t done) override;
    void End() override;

    static constexpr int kShowAfterMs = 500;

private:
    class HoldTimers;

    QPointer<QWidget> parent_;
    std::unique_ptr<HoldTimers> holdTimers_;
    std::unique_ptr<QProgressDialog> dialog_;
    double scale_ = 1;  // the dialog counts in int
};

}  // namespace qb
