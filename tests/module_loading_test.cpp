// Loading the picture module's way on each system, Windows under wine included. Guards against: a
// module in a folder whose name is not ASCII (as under "C:\Programmi\Università") not found, a
// missing module or entry point taken for a loaded one, a message that does not name the file.

#include "module_loading.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

namespace {

using correlatore::moduleEntry;
using correlatore::programFolder;

// The build names its files without a drive, which on Windows is the one the test starts in.
const std::filesystem::path fixture = std::filesystem::absolute(CORRELATORE_FIXTURE_MODULE);

} // namespace

TEST(ModuleLoading, TheEntryIsFoundOrTheReasonNamesTheFile) {
    // On Windows a loaded module cannot be removed: its folder stays until the next run's.
    ScratchFolder scratch("module_loading");
    const std::filesystem::path folder = scratch.path / u8"moduli è";
    std::filesystem::create_directory(folder);
    const std::filesystem::path module = folder / fixture.filename();
    std::filesystem::copy_file(fixture, module);
    const struct {
        const char* name;
        std::filesystem::path path;
        const char* entry;
        std::string error; // empty when the entry is found
    } cases[] = {
        {"a module in a folder not named in ASCII", module, "correlatore_fixture_entry", ""},
        {"a module lacking the entry", module, "correlatore_no_such_entry",
         module.string() + ": no entry point"},
        {"a missing module", folder / "missing.module", "correlatore_fixture_entry",
         (folder / "missing.module").string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        void* entry = moduleEntry(c.path, c.entry, error);
        if (c.error.empty()) {
            ASSERT_NE(entry, nullptr) << error;
            EXPECT_EQ(reinterpret_cast<int (*)()>(entry)(), 42);
        } else {
            EXPECT_EQ(entry, nullptr);
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
}

TEST(ModuleLoading, TheProgramFolderHoldsTheProgram) {
    EXPECT_TRUE(std::filesystem::exists(programFolder() / CORRELATORE_TEST_FILE_NAME));
}
