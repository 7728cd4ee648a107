// question-bank-server: serves a question bank to the desktop client over plain HTTP.

#include "BankFile.h"
#include "ExclusivePort.h"
#include "QuestionBank.h"
#include "Routes.h"
#include "SampleBankPath.h"
#include "ServerOptions.h"

#include <httplib.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "question-bank-server: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace ql::qbank;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    OptionsResult parsed = parseOptions(arguments);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "question-bank-server: %s\n%s", parsed.error.c_str(), usage.data());
        return 2;
    }
    ServerOptions& options = parsed.options;
    if (options.showHelp) {
        std::fputs(usage.data(), stdout);
        return 0;
    }
    if (options.bankPath.empty())
        options.bankPath = sampleBankPath();

    const BankFileResult file = readBankFile(options.bankPath);
    if (!file.error.empty())
        return fail(file.error);
    std::string error;
    const auto bank = QuestionBank::create(file.questions, error);
    if (!bank)
        return fail(options.bankPath + ": " + error);

    httplib::Server server;
    useExclusivePort(server);
    installRoutes(server, *bank, options.rowLimit);
    const int port = options.port == 0 ? server.bind_to_any_port(options.host)
                                       : (server.bind_to_port(options.host, options.port)
                                              ? options.port
                                              : -1);
    if (port <= 0)
        return fail("cannot listen on " + options.host + ":" + std::to_string(options.port)
                    + " (the port is in use or the address is not available)");
    // An IPv6 address needs brackets in an address that carries a port.
    const std::string shownHost =
        options.host.find(':') == std::string::npos ? options.host : "[" + options.host + "]";
    std::printf("question-bank-server listening on http://%s:%d (%lld questions)\n",
                shownHost.c_str(), port, static_cast<long long>(bank->size()));
    std::fflush(stdout);
    if (!server.listen_after_bind())
        return fail("stopped listening on " + options.host + ":" + std::to_string(port));
    return 0;
}
