// http-request: runs one request through the engine with every parameter
// as an option and prints every out-parameter, for debugging against real
// servers.

#include "CommandLine.h"
#include "ReplyReport.h"
#include "http/HttpRequest.h"

#include <iostream>
#include <string_view>
#include <vector>

namespace {

ql::tools::ReplyOutputs perform(const ql::tools::RequestCommand& command)
{
    ql::tools::ReplyOutputs outputs;
    outputs.sentCookies = command.sentCookies;

    ql::http::HttpRequestArgs args;
    args.method = command.method;
    args.postData = command.postData;
    args.sentCookies = outputs.sentCookies ? &*outputs.sentCookies : nullptr;
    args.receivedCookies = &outputs.receivedCookies;
    args.extraHeaders = command.extraHeaders;
    args.responseHeaders = &outputs.responseHeaders;
    args.disableRedirects = command.disableRedirects;
    args.userName = command.userName;
    args.password = command.password;
    args.proxy = command.proxy;
    args.proxyUserName = command.proxyUserName;
    args.proxyPassword = command.proxyPassword;
    args.timeoutSeconds = command.timeoutSeconds;
    args.redirectLocation = &outputs.redirectLocation;
    args.statusText = &outputs.statusText;
    args.responseBody = &outputs.responseBody;
    args.autoMergeCookies = command.autoMergeCookies;

    outputs.result = ql::http::httpRequest(command.url, args);
    return outputs;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = ql::tools::parseCommandLine(arguments);
    if (const auto* error = std::get_if<ql::tools::UsageError>(&parsed)) {
        std::cerr << "http-request: " << error->message << '\n' << ql::tools::kUsage << '\n';
        return 2;
    }
    // The request's own outcome is in the report, not in the exit status.
    std::cout << ql::tools::replyReport(perform(std::get<ql::tools::RequestCommand>(parsed))) << '\n';
    return 0;
}
