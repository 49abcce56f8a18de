#include "platform/QtProgressPort.h"

#include <QCoreApplication>
#include <QTimerEvent>
#include <algorithm>

#include "platform/CodePage.h"

namespace qb {

// While the dialog takes the window system's events, the program's own timers wait: a stopwatch
// tick or a recovery flush must not run in the middle of the work. They fire once it is over.
class QtProgressPort::HoldTimers final : public QObject {
public:
    explicit HoldTimers(QObject* dialog) : dialog_(dialog) { QCoreApplication::instance()->installEventFilter(this); }
    ~HoldTimers() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Timer) return false;
        for (QObject* o = watched; o; o = o->parent())
            if (o == dialog_) return false;
        return true;
    }

private:
    QObject* dialog_;
};

QtProgressPort::QtProgressPort() = default;
QtProgressPort::~QtProgressPort() = default;

void QtProgressPort::Begin(const std::string& what, std::int64_t steps) {
    const std::int64_t total = std::max<std::int64_t>(steps, 1);
    constexpr std::int64_t kIntSteps = 1'000'000;
    scale_ = total > kIntSteps ? static_cast<double>(kIntSteps) / static_cast<double>(total) : 1.0;
    dialog_ = std::make_unique<QProgressDialog>(FromCodePage(what), QObject::tr("Cancel"), 0,
                                                static_cast<int>(static_cast<double>(total) * scale_), parent_);
    dialog_->setWindowTitle(QStringLiteral("the Quillbox"));
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(kShowAfterMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    holdTimers_ = std::make_unique<HoldTimers>(dialog_.get());
    dialog_->setValue(0);
}

bool QtProgressPort::Advance(std::int64_t done) {
    if (!dialog_) return true;
    // A modal dialog takes the window system's events here, Cancel among them.
    dialog_->setValue(std::min(static_cast<int>(static_cast<double>(done) * scale_), dialog_->maximum()));
    return !dialog_->wasCanceled();
}

void QtProgressPort::End() {
    holdTimers_.reset();
    dialog_.reset();
}

}  // namespace qb
