#include "info/dpc_info_form.h"

namespace info {

namespace {
const platform::Font label_font{"Arial", 8.25, false};

// Captions fit one line; values get two, since a folder may be long.
void place(platform::Label& label, int left, int top, int height, const char* caption) {
    label.set_geometry({left, top, 3405 - left - 120, height});
    label.set_font(label_font);
    label.set_colors(platform::colors::white, platform::colors::black);
    label.set_caption(caption);
}
}  // namespace

DpcInfoForm::DpcInfoForm(const util::FileUtilities& files, platform::VersionInfo& version_info)
    : platform::Form("DPC_INFO_FORM"), files_(files), reader_(version_info) {
    set_caption("DirecPC Information");
    set_border(Border::Tool);
    set_centered(true);
    set_client_size(3405, 3165);
    set_back_color(platform::colors::black);
    place(Label7, 240, 240, 255, "Name of DPC OCX currently in use:");
    place(lbl_NAV_CONTROL_NAME, 360, 480, 480, "<name>");
    place(Label4, 240, 960, 255, "Description of DPC OCX currently in use:");
    place(lbl_NAV_CONTROL_DESC, 360, 1200, 480, "<description>");
    place(Label1, 240, 1680, 255, "Version of DPC OCX currently in use:");
    place(lbl_NAV_CONTROL_VERSION, 360, 1920, 480, "<version>");
    place(Label3, 240, 2400, 255, "Location of NAVCTRL.OCX file:");
    place(lbl_DPC_OCX_LOCATION, 360, 2640, 480, "<location>");
    // The folder is what this label is for: a long one may lose its middle
    // but never its end, which names the folder itself.
    lbl_DPC_OCX_LOCATION.set_wrap(platform::Label::Wrap::Anywhere);
}

void DpcInfoForm::Form_Load() {
    system_path_ = files_.GetSystemPath();
    const std::string in_system = util::join_path(system_path_, "NAVCTRL.OCX");
    if (files_.FileExists(in_system)) {
        ShowVersionRecord(in_system);
        show_location(system_path_);
    } else {
        ShowVersionRecord(util::join_path(fallback_folder, "NAVCTRL.OCX"));
        show_location(fallback_folder);
    }
}

// A long folder may lose its middle in the label; the tooltip keeps it whole.
void DpcInfoForm::show_location(const std::string& folder) {
    lbl_DPC_OCX_LOCATION.set_caption(folder);
    lbl_DPC_OCX_LOCATION.set_tooltip(folder);
}

void DpcInfoForm::ShowVersionRecord(const std::string& path) {
    if (!reader_.ReadVersionRecord(path)) {
        return;
    }
    const util::VersionRecord& record = reader_.record();
    // The name is the file's, not one the record gives.
    lbl_NAV_CONTROL_NAME.set_caption("NAVCTRL.OCX");
    lbl_NAV_CONTROL_VERSION.set_caption(record.FileVersion);
    lbl_NAV_CONTROL_DESC.set_caption(record.FileDescription);
}

}  // namespace info
