#include "info/about_box.h"

namespace info {

AboutBox::AboutBox(const ProgramVersion& version) : platform::Form("ABOUT_FORM") {
    set_caption("About Orvanta");
    set_centered(true);
    set_client_size(7050, 3450);
    set_picture("about");
    place_version_label(lblVERSION, 5760, 3240);
    show_version(lblVERSION, version);
}

}  // namespace info
