#include "ExclusivePort.h"

#include <sys/socket.h>

namespace ql::qbank {

void useExclusivePort(httplib::Server& server)
{
    server.set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
}

}  // namespace ql::qbank
