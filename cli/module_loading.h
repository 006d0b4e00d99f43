#pragma once

// Loading a shared module at run time: the one place that knows how each system does it
// (module_loading_posix.cpp, module_loading_windows.cpp).

#include <filesystem>
#include <string>

namespace correlatore {

// The folder of the running program.
std::filesystem::path programFolder();

// The address of `entry` in the module at `path`, loaded on first use; null with the reason in
// `error` when the module cannot be loaded or lacks the entry.
void* moduleEntry(const std::filesystem::path& path, const char* entry, std::string& error);

} // namespace correlatore
