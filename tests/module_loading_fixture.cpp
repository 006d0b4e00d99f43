// A module with one entry point, for module_loading_test. MinGW exports every function of a DLL
// that marks none for export, as the picture module relies on.

extern "C" __attribute__((visibility("default"))) int correlatore_fixture_entry() {
    return 42;
}
