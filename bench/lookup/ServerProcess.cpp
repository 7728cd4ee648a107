#include "ServerProcess.h"

#include <csignal>
#include <cstdio>
#include <regex>

#include <sys/wait.h>
#include <unistd.h>

namespace ql::bench {

ServerProcess::ServerProcess(const std::string& server, const std::string& bank)
{
    int out[2];
    if (pipe(out) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(server.c_str(), server.c_str(), "--host", "127.0.0.1", "--port", "0", "--bank",
              bank.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    if (pid_ < 0) {
        close(out[0]);
        return;
    }
    // The server announces itself with one line, then stays quiet.
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(out[0]);
    std::smatch found;
    static const std::regex listening("listening on http://([0-9.]+:[0-9]+)");
    if (std::regex_search(line, found, listening))
        host_ = found[1];
}

ServerProcess::~ServerProcess()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

} // namespace ql::bench
