// The real engine against a loopback port that refuses connections: the
// failed request must leave every row and id as it was.

#include "LookupFixture.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace ql::lookup::testing_support {
namespace {

// A bound socket that never listens: connecting to its port is refused for
// as long as it stays open.
class RefusingPort {
public:
    RefusingPort()
    {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0
            && getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~RefusingPort()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

TEST(SearchOverTheNetwork, ARefusedConnectionChangesNothing)
{
    RefusingPort refusing;
    ASSERT_NE(refusing.port(), 0);
    RecordingView view;
    view.boxes[0] = "shown before";
    view.question = "q";
    QuestionLookup lookup(view, Text("127.0.0.1:" + std::to_string(refusing.port())),
                          networkRequestEngine());
    lookup.onSearchClicked();
    EXPECT_EQ(view.boxes[0], Text("shown before"));
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(lookup.questionIds().slot(k), Text()) << "slot " << k;
}

} // namespace
} // namespace ql::lookup::testing_support
