#include "info/info_windows.h"

#include <memory>

#include "platform/failure.h"

namespace info {

InfoWindows::InfoWindows(platform::Desktop& desktop, const util::FileUtilities& files,
                         platform::VersionInfo& version_info, ProgramVersion version,
                         platform::Control& tab_stop_zero)
    : files_(files),
      version_info_(version_info),
      version_(version),
      tab_stop_zero_(tab_stop_zero),
      about_(desktop),
      dpc_info_(desktop) {}

void InfoWindows::ABOUT_BUTTON_Click() {
    platform::resume_next([this] { tab_stop_zero_.set_focus(); });
    platform::resume_next(
        [this] { about_.show([this] { return std::make_unique<AboutBox>(version_); }); });
}

void InfoWindows::SMALL_DPC_LOGO_Click() {
    dpc_info_.show([this] {
        auto form = std::make_unique<DpcInfoForm>(files_, version_info_);
        form->Form_Load();
        return form;
    });
}

}  // namespace info
