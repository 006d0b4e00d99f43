// The Windows body of run_program.h: the program is started with CreateProcessW, its arguments
// taken as UTF-8 and quoted as the C runtime splits them. The program shares the test's console,
// if it has one, as a program started from a command prompt does. Windows has no umask:
// ProgramSetup::umask is not used.

#include "run_program.h"
#include "wide_path_windows.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <io.h>
#include <map>
#include <mutex>
#include <process.h>

namespace {

using correlatore::widePath;

// The process handles, kept open until the program is collected: its exit code lives as long as
// they do, and its id is not reused meanwhile.
std::mutex processesMutex;
std::map<pid_t, HANDLE> processes; // guarded by processesMutex

HANDLE processOf(pid_t pid) {
    const std::lock_guard lock(processesMutex);
    const auto found = processes.find(pid);
    return found == processes.end() ? nullptr : found->second;
}

// One argument as the C runtime's command-line parser reads it back.
std::wstring quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal except before a quote, and so before the closing one.
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        text.push_back(c);
        backslashes = 0;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

// Every handle made inheritable here is closed once the child has its copy: a child inherits all
// the inheritable handles there are, and one left open would keep another test's pipe open.
HANDLE inheritableCopy(int descriptor) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)),
                    GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS);
    return copy;
}

HANDLE inheritableFile(const wchar_t* path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE file =
        CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    &inherited, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

// What the child finds as descriptor `descriptor`: null when it should find it closed.
HANDLE standardHandle(const ProgramSetup& setup, int descriptor, int givenDescriptor,
                      const std::string& file) {
    const auto& closed = setup.closedDescriptors;
    if (std::find(closed.begin(), closed.end(), descriptor) != closed.end())
        return nullptr;
    if (descriptor == 0)
        return inheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
    if (givenDescriptor >= 0)
        return inheritableCopy(givenDescriptor);
    return inheritableFile(widePath(file).c_str(), GENERIC_WRITE, CREATE_ALWAYS);
}

std::string takeFile(const std::string& path) {
    std::string text;
    {
        std::ifstream in(std::filesystem::path(widePath(path)), std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    DeleteFileW(widePath(path).c_str());
    return text;
}

} // namespace

StartedProgram startProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const ProgramSetup& setup) {
    static std::atomic<int> runs{0};
    StartedProgram started;
    started.stem = (std::filesystem::temp_directory_path() /
                    ("run_program_" + std::to_string(_getpid()) + "_" + std::to_string(++runs)))
                       .string();
    std::wstring commandLine = quoted(widePath(program));
    for (const std::string& argument : arguments)
        commandLine += L" " + quoted(widePath(argument));

    const HANDLE input = standardHandle(setup, 0, -1, {});
    const HANDLE output =
        standardHandle(setup, 1, setup.outputDescriptor,
                       setup.outputPath.empty() ? started.stem + ".out" : setup.outputPath);
    const HANDLE error = standardHandle(setup, 2, setup.errorDescriptor, started.stem + ".err");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(widePath(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        started.pid = static_cast<pid_t>(process.dwProcessId);
        const std::lock_guard lock(processesMutex);
        processes[started.pid] = process.hProcess;
    }
    for (const HANDLE handle : {input, output, error})
        if (handle)
            CloseHandle(handle);
    return started;
}

ProgramResult waitForProgram(const StartedProgram& started) {
    ProgramResult result;
    if (const HANDLE process = processOf(started.pid)) {
        WaitForSingleObject(process, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        result.exitStatus = static_cast<int>(code);
        CloseHandle(process);
        const std::lock_guard lock(processesMutex);
        processes.erase(started.pid);
    }
    result.out = takeFile(started.stem + ".out");
    result.err = takeFile(started.stem + ".err");
    return result;
}

bool hasEnded(const StartedProgram& started) {
    const HANDLE process = processOf(started.pid);
    return !process || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const ProgramSetup& setup) {
    return waitForProgram(startProgram(program, arguments, setup));
}
