#include "platform/forms/check_box.h"

#include <string>

#include "platform/failure.h"

namespace platform {

void CheckBox::set_value(int value) {
    if (value != cleared && value != ticked && value != greyed) {
        throw Failure("check box " + name() + " cannot hold " + std::to_string(value));
    }
    value_ = value;
    changed(Change::Value);
}

}  // namespace platform
