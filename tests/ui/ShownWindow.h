#pragma once
// The main window on fake ports, loaded, shown and through its first activation, as a test starts it.

#include "Machine.h"
#include "fakes/FakePorts.h"
#include "windows/MainWindow.h"

namespace qb::test {

struct ShownWindow {
    ShownWindow() {
        machine.Load();
        window.show();
        window.FirstActivation();
    }
    FakePorts fakes;
    Machine machine{fakes.ports()};
    MainWindow window{machine, fakes.messages};
};

}  // namespace qb::test
