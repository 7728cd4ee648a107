#pragma once
// The command line of question-bank-server.

#include <span>
#include <string>
#include <string_view>

namespace ql::qbank {

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 8080;        // 0 lets the system pick a free port
    std::string bankPath;   // empty: the sample bank shipped beside the program
    int rowLimit = 10;      // most rows in one search reply
    bool showHelp = false;
};

struct OptionsResult {
    ServerOptions options;  // meaningful when error is empty
    std::string error;
};

inline constexpr std::string_view usage =
    "usage: question-bank-server [--port N] [--host ADDR] [--bank FILE] [--limit N]\n"
    "  --port N     port to listen on, 0 for any free port (default 8080)\n"
    "  --host ADDR  address to listen on (default 127.0.0.1)\n"
    "  --bank FILE  question bank, one JSON object per line (default: the sample bank)\n"
    "  --limit N    most questions listed in one search reply, 1 to 1000 (default 10)\n";

// Parses the arguments after the program name.
OptionsResult parseOptions(std::span<const std::string_view> arguments);

}  // namespace ql::qbank
