#pragma once

#include <QWidget>

#include <stdexcept>
#include <string>

namespace slate::testing {

// A control of a window found by its object name, the way a user's tools find it; a missing
// control fails the test.
template <class Control = QWidget>
Control* controlOf(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QLatin1String(name));
    if (!control)
        throw std::logic_error(std::string("the window has no such control: ") + name);
    return control;
}

}  // namespace slate::testing
