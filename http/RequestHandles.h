#pragma once
// The session, connection and request handles of one request, closed in
// reverse order of opening (request, connection, session) when it ends.
// Only handles that were opened are closed.

#include "http/WinHttpLayer.h"

#include <initializer_list>
#include <utility>

namespace ql::http {

class RequestHandles {
public:
    explicit RequestHandles(WinHttpLayer& layer) : layer_(layer) {}
    ~RequestHandles() { close(); }
    RequestHandles(const RequestHandles&) = delete;
    RequestHandles& operator=(const RequestHandles&) = delete;

    Handle session = 0;
    Handle connection = 0;
    Handle request = 0;

    void close()
    {
        for (Handle* handle : {&request, &connection, &session}) {
            if (*handle != 0)
                layer_.closeHandle(std::exchange(*handle, 0));
        }
    }

private:
    WinHttpLayer& layer_;
};

} // namespace ql::http
