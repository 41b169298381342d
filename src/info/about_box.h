#pragma once

#include "info/version_label.h"
#include "platform/forms.h"

namespace info {

// The about box: the same kind of picture with the version, closed through
// its title bar.
class AboutBox : public platform::Form {
  public:
    explicit AboutBox(const ProgramVersion& version);

    platform::Label lblVERSION{*this, "lblVERSION"};
};

}  // namespace info
