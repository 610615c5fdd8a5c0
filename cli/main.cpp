#include "cli/CalcCommand.h"

#include <cerrno>
#include <iostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A standard descriptor that the caller closed is held by /dev/null opened the
// other way round, so that using it still fails as on a closed descriptor and no
// file the program opens takes its number (and receives the results).
void HoldClosedStandardDescriptors()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", (fd == STDIN_FILENO ? O_WRONLY : O_RDONLY));
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    HoldClosedStandardDescriptors();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tormel::cli::RunCalcCommand(arguments, std::cin, std::cout, std::cerr, STDERR_FILENO);
}
