#pragma once

#include "platform/program_location.h"

namespace platform::qt {

// The folder of the running executable, as Qt finds it.
class QtProgramLocation : public platform::ProgramLocation {
  public:
    std::string program_folder() const override;
};

}  // namespace platform::qt
