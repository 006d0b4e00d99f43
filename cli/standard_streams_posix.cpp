#include "standard_streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace correlatore {

void openClosedStandardStreams() {
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) >= 0)
            continue;
        // open() takes the lowest free number, which is this one: the lower ones are open now.
        const int mode = descriptor == STDIN_FILENO ? O_WRONLY : O_RDONLY;
        if (open("/dev/null", mode) != descriptor)
            _exit(1); // cannot happen unless /dev/null is missing; nothing safe to write to
    }
}

bool progressFitsBeside(std::FILE* data) {
    if (isatty(STDERR_FILENO) != 1)
        return false;
    const int dataDescriptor = fileno(data);
    if (isatty(dataDescriptor) != 1)
        return true;
    struct stat dataTerminal {};
    struct stat errorTerminal {};
    if (fstat(dataDescriptor, &dataTerminal) != 0 || fstat(STDERR_FILENO, &errorTerminal) != 0)
        return false;
    return dataTerminal.st_rdev != errorTerminal.st_rdev;
}

} // namespace correlatore
