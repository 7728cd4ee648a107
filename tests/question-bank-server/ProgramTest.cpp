// The question-bank-server program itself: its listening line, its exit on errors.

#include "TestBank.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace ql::qbank::test {
namespace {

constexpr int timeoutMs = 10000;

// The program run with the given arguments, its output read through pipes; ended when this goes.
class Program {
public:
    explicit Program(std::vector<std::string> arguments)
    {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        arguments.insert(arguments.begin(), QBS_SERVER_PROGRAM);
        std::vector<char*> argv;
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, QBS_SERVER_PROGRAM, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Program()
    {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close(err_);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return pid_ > 0; }

    // The first line the program prints, or empty when none comes in time.
    std::string firstLine()
    {
        std::string line;
        char c = 0;
        while (line.find('\n') == std::string::npos && waitReadable(out_) && read(out_, &c, 1) == 1)
            line += c;
        return line;
    }

    // Its exit code, or empty when it does not end in time.
    std::optional<int> exitCode()
    {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    // All it wrote to standard error; call after it has ended.
    std::string errorOutput()
    {
        std::string text;
        char buffer[4096];
        ssize_t got = 0;
        while (waitReadable(err_) && (got = read(err_, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        return text;
    }

private:
    static bool waitReadable(int fd)
    {
        pollfd entry{fd, POLLIN, 0};
        return poll(&entry, 1, timeoutMs) == 1;
    }

    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    bool exited_ = false;
};

TEST(Program, PrintsListeningLineWithChosenPortAndServes)
{
    TempFile bank(testBankText());
    Program program({"--port", "0", "--bank", bank.path()});
    ASSERT_TRUE(program.started());
    const std::string line = program.firstLine();
    std::smatch match;
    const std::regex expected(
        R"(question-bank-server listening on http://127\.0\.0\.1:(\d+) \(21 questions\)\n)");
    ASSERT_TRUE(std::regex_match(line, match, expected)) << line;
    const int port = std::stoi(match[1]);
    EXPECT_GT(port, 0);

    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(5);
    client.set_read_timeout(10);
    const auto result = client.Get("/qwg/chazhao.php?w=5+5");
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->body, "id:5题目:<em>5+5</em>=?<br>共找到 1 道题");

    // A second server on the same port must fail, not share it.
    Program second({"--port", std::to_string(port), "--bank", bank.path()});
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_EQ(second.errorOutput(),
              "question-bank-server: cannot listen on 127.0.0.1:" + std::to_string(port)
                  + " (the port is in use or the address is not available)\n");
}

TEST(Program, ServesTheSampleBankByDefault)
{
    Program program({"--port", "0"});
    ASSERT_TRUE(program.started());
    const std::string line = program.firstLine();
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, std::regex(R"(.*:(\d+) \((\d+) questions\)\n)")))
        << line;
    EXPECT_GE(std::stoi(match[2]), 200);
}

TEST(Program, MalformedBankNamesLineAndReason)
{
    TempFile bank("# comment\n{\"id\":1,\"type\":\"fill\",\"subject\":\"s\",\"question\":\"q\"}\n");
    Program program({"--port", "0", "--bank", bank.path()});
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.errorOutput(),
              "question-bank-server: " + bank.path() + ":2: missing field \"answer\"\n");
}

TEST(Program, UnreadableBank)
{
    Program program({"--port", "0", "--bank", "/nonexistent/bank.jsonl"});
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.errorOutput(),
              "question-bank-server: /nonexistent/bank.jsonl: cannot open the bank file\n");
}

TEST(Program, BadOptionShowsUsage)
{
    Program program({"--port", "x"});
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.exitCode(), 2);
    const std::string error = program.errorOutput();
    EXPECT_TRUE(error.starts_with("question-bank-server: --port takes a number")) << error;
    EXPECT_NE(error.find("usage: question-bank-server"), std::string::npos) << error;
}

}  // namespace
}  // namespace ql::qbank::test
