#pragma once

#include <string>

#include "platform/forms.h"
#include "platform/version_info.h"
#include "util/file_utilities.h"
#include "util/version_record.h"

namespace info {

// DPC_INFO_FORM: which navigator control file the installation uses, its
// description and version, and the folder it was found in. It reads the
// file once, when loaded, with a version reader of its own.
class DpcInfoForm : public platform::Form {
  public:
    // Where the file is looked for when the system directory lacks it.
    static constexpr const char* fallback_folder = "/opt/DirecPC/Bin";

    DpcInfoForm(const util::FileUtilities& files, platform::VersionInfo& version_info);

    // Finds the file and fills the labels.
    void Form_Load();
    // Shows name, version and description from the file's record, or leaves
    // the labels as they are when it has none.
    void ShowVersionRecord(const std::string& path);

    platform::Label Label7{*this, "Label7"};
    platform::Label lbl_NAV_CONTROL_NAME{*this, "lbl_NAV_CONTROL_NAME"};
    platform::Label Label4{*this, "Label4"};
    platform::Label lbl_NAV_CONTROL_DESC{*this, "lbl_NAV_CONTROL_DESC"};
    platform::Label Label1{*this, "Label1"};
    platform::Label lbl_NAV_CONTROL_VERSION{*this, "lbl_NAV_CONTROL_VERSION"};
    platform::Label Label3{*this, "Label3"};
    platform::Label lbl_DPC_OCX_LOCATION{*this, "lbl_DPC_OCX_LOCATION"};

  private:
    void show_location(const std::string& folder);

    const util::FileUtilities& files_;
    util::VersionRecordReader reader_;
    std::string system_path_;
};

}  // namespace info
