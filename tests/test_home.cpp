// Every test binary runs with a home, settings, data, cache and state
// folder of its own (its temporary files go to a folder of the run's own, see
// support/temp_folder.h), made fresh for each run inside the build
// tree: no test reads the user's settings or leaves restore points, recent
// files or anything else in the user's folders, whether ctest starts it or
// someone runs it by hand, and in one locale whatever the user's. Done
// before main() so that nothing (QSettings keeps the paths it first saw)
// can look at the real folders first.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef TUNARA_TEST_HOME_DIR
#error "TUNARA_TEST_HOME_DIR (the test's own folder in the build tree) is set by tunara_add_test"
#endif

namespace {

struct OwnFolders {
    OwnFolders()
    {
        namespace fs = std::filesystem;
        const fs::path home = fs::path(TUNARA_TEST_HOME_DIR) / "home";
        std::error_code ignored;
        fs::remove_all(home, ignored);
        const struct {
            const char *variable;
            const char *folder;
        } folders[] = {{"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"XDG_CACHE_HOME", "cache"},
                       {"XDG_STATE_HOME", "state"}};
        fs::create_directories(home, ignored);
        ::setenv("HOME", home.c_str(), 1);
        for (const auto &f : folders) {
            fs::create_directories(home / f.folder, ignored);
            ::setenv(f.variable, (home / f.folder).c_str(), 1);
        }
        // The tests expect the decimal point whatever the user's locale: a
        // test of a decimal-comma locale sets one of its own.
        ::setenv("LC_ALL", "C.UTF-8", 1);
    }
};

const OwnFolders ownFolders;

}  // namespace
