#pragma once

#include "info/about_box.h"
#include "info/dpc_info_form.h"
#include "platform/desktop.h"
#include "platform/forms/control.h"
#include "ui/single_window.h"

namespace info {

// The two information windows that the main window opens: the about box
// and the navigator control's information window. Each exists at most once.
class InfoWindows {
  public:
    InfoWindows(platform::Desktop& desktop, const util::FileUtilities& files,
                platform::VersionInfo& version_info, ProgramVersion version,
                platform::Control& tab_stop_zero);

    // Opens the about box, or brings it forward.
    void ABOUT_BUTTON_Click();
    // Opens the information window, which reads the file as it loads, or
    // brings it forward without reading again.
    void SMALL_DPC_LOGO_Click();

    AboutBox* about_box() const { return about_.form(); }
    DpcInfoForm* dpc_info() const { return dpc_info_.form(); }

  private:
    const util::FileUtilities& files_;
    platform::VersionInfo& version_info_;
    ProgramVersion version_;
    platform::Control& tab_stop_zero_;
    ui::SingleWindow<AboutBox> about_;
    ui::SingleWindow<DpcInfoForm> dpc_info_;
};

}  // namespace info
