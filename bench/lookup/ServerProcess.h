#pragma once
// The bundled question-bank server as a child process on a free loopback
// port, stopped when the owner goes away.

#include <string>

namespace ql::bench {

class ServerProcess {
public:
    // Starts `server --host 127.0.0.1 --port 0 --bank bank` and waits for the
    // line that names its port. On failure host() is empty.
    ServerProcess(const std::string& server, const std::string& bank);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // "127.0.0.1:<port>"
    const std::string& host() const { return host_; }

private:
    int pid_ = -1;
    std::string host_;
};

} // namespace ql::bench
