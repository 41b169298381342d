#pragma once

#include "app/services.h"

namespace app {

class Form1;

// The main window's unload: sockets closed and destroyed, the window's
// position stored when the user wants that, and the fade-out.
class Shutdown {
  public:
    Shutdown(Form1& form1, const Services& services);

    void Form_Unload();

  private:
    void save_window_position();

    Form1& form1_;
    const Services& services_;
};

}  // namespace app
