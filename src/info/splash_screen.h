#pragma once

#include "info/version_label.h"
#include "platform/forms.h"

namespace info {

// The picture shown while the program starts. A click on its surface or a
// key closes it; what closing means is its owner's business.
class SplashScreen : public platform::Form {
  public:
    explicit SplashScreen(const ProgramVersion& version);

    platform::Label lblVERSION{*this, "lblVERSION"};
};

}  // namespace info
