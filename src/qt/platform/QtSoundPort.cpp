#include "platform/QtSoundPort.h"

namespace qb {

void QtSoundPort::RequestSound() {}

}  // namespace qb
