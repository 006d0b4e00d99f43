#include "run_program.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string takeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    return text;
}

bool isClosed(const ProgramSetup& setup, int descriptor) {
    const auto& closed = setup.closedDescriptors;
    return std::find(closed.begin(), closed.end(), descriptor) != closed.end();
}

} // namespace

// The child's output goes to two temporary files, read when it has ended.
StartedProgram startProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const ProgramSetup& setup) {
    static std::atomic<int> runs{0};
    StartedProgram started;
    started.stem = "/tmp/run_program_" + std::to_string(getpid()) + "_" + std::to_string(++runs);
    const std::string outputPath =
        setup.outputPath.empty() ? started.stem + ".out" : setup.outputPath;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (isClosed(setup, STDIN_FILENO))
        posix_spawn_file_actions_addclose(&actions, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (isClosed(setup, STDOUT_FILENO))
        posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
    else if (setup.outputDescriptor >= 0)
        posix_spawn_file_actions_adddup2(&actions, setup.outputDescriptor, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (isClosed(setup, STDERR_FILENO))
        posix_spawn_file_actions_addclose(&actions, STDERR_FILENO);
    else if (setup.errorDescriptor >= 0)
        posix_spawn_file_actions_adddup2(&actions, setup.errorDescriptor, STDERR_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (started.stem + ".err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // The child takes the umask it starts with; the tests run one program at a time.
    const mode_t previousMask = umask(setup.umask.value_or(0));
    if (!setup.umask)
        umask(previousMask);
    if (posix_spawn(&started.pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        started.pid = -1;
    umask(previousMask);
    posix_spawn_file_actions_destroy(&actions);
    return started;
}

ProgramResult waitForProgram(const StartedProgram& started) {
    ProgramResult result;
    if (started.pid > 0) {
        int status = 0;
        waitpid(started.pid, &status, 0);
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    result.out = takeFile(started.stem + ".out");
    result.err = takeFile(started.stem + ".err");
    return result;
}

bool hasEnded(const StartedProgram& started) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(started.pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid != 0;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const ProgramSetup& setup) {
    return waitForProgram(startProgram(program, arguments, setup));
}
