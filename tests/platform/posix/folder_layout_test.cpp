#include "platform/posix/folder_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using platform::posix::Environment;
using platform::posix::FolderLayout;

// A file system that has exactly these folders.
FolderLayout::IsFolder folders(std::set<std::string> paths) {
    return [paths](const std::string& path) { return paths.contains(path); };
}

TEST(FolderLayoutTest, AnInstalledPrefixKeepsTheUsersThingsInTheXdgFolders) {
    const Environment plain{std::nullopt, std::nullopt, "/home/ann"};
    const FolderLayout installed("/usr/bin", plain, folders({"/usr/lib/orvanta"}));
    EXPECT_EQ(installed.system_folder(), "/usr/lib/orvanta");
    EXPECT_EQ(installed.settings_folder(), "/home/ann/.config/orvanta");
    EXPECT_EQ(installed.state_folder(), "/home/ann/.local/state/orvanta");
    EXPECT_EQ(installed.autostart_folder(), "/home/ann/.config/autostart");

    // The variables count only when they hold an absolute path.
    const Environment set{"/srv/conf", "/srv/state", "/home/ann"};
    const FolderLayout staged("/tmp/stage/usr/bin", set, folders({"/tmp/stage/usr/lib/orvanta"}));
    EXPECT_EQ(staged.system_folder(), "/tmp/stage/usr/lib/orvanta");
    EXPECT_EQ(staged.settings_folder(), "/srv/conf/orvanta");
    EXPECT_EQ(staged.state_folder(), "/srv/state/orvanta");
    EXPECT_EQ(staged.autostart_folder(), "/srv/conf/autostart");
    const Environment relative{"conf", "", "/home/ann"};
    const FolderLayout local("/usr/local/bin", relative, folders({"/usr/local/lib/orvanta"}));
    EXPECT_EQ(local.settings_folder(), "/home/ann/.config/orvanta");
    EXPECT_EQ(local.state_folder(), "/home/ann/.local/state/orvanta");
}

TEST(FolderLayoutTest, AnywhereElseEverythingLiesInTheProgramsFolder) {
    const Environment environment{"/srv/conf", "/srv/state", "/home/ann"};
    for (const auto& [folder, existing] :
         {std::pair<std::string, std::string>{"/work/build", "/work/lib/orvanta"},
          {"/usr/bin", "/usr/lib/something-else"},
          {"/opt/bin", "/opt/lib"}}) {
        const FolderLayout portable(folder, environment, folders({existing}));
        EXPECT_EQ(portable.system_folder(), folder) << folder;
        EXPECT_EQ(portable.settings_folder(), folder);
        EXPECT_EQ(portable.state_folder(), folder);
        EXPECT_EQ(portable.autostart_folder(), "/srv/conf/autostart");
    }
}

}  // namespace
