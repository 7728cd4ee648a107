#pragma once
// A small bank written for the tests, and a server that serves it on a free loopback port.

#include "QuestionBank.h"

#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

namespace ql::qbank::test {

// Question 6 holds full-text and LIKE syntax, question 7 HTML to be escaped, questions 10 to 22
// share the text "重复题" so that a search finds more than a reply lists.
std::string testBankText();

// A file with the given contents in the temporary folder, removed again when this goes.
class TempFile {
public:
    explicit TempFile(std::string_view contents);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline constexpr int testRowLimit = 10;

// The test bank served on 127.0.0.1 from a thread, for as long as this lives.
class BankServer {
public:
    BankServer();
    ~BankServer();
    BankServer(const BankServer&) = delete;
    BankServer& operator=(const BankServer&) = delete;

    int port() const { return port_; }
    // A client that sends targets exactly as given, with a short time-out.
    std::unique_ptr<httplib::Client> client() const;

private:
    std::unique_ptr<QuestionBank> bank_;
    httplib::Server server_;
    std::thread thread_;
    int port_ = -1;
};

}  // namespace ql::qbank::test
