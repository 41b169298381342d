#include "info/splash_screen.h"

namespace info {

SplashScreen::SplashScreen(const ProgramVersion& version) : platform::Form("frmSplash") {
    set_border(Border::Dialog);
    set_centered(true);
    set_client_size(7035, 3000);
    set_picture("splash");
    place_version_label(lblVERSION, 5760, 2770);
    show_version(lblVERSION, version);
}

}  // namespace info
