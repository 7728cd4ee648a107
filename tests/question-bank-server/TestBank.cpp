#include "TestBank.h"

#include "BankFile.h"
#include "ExclusivePort.h"
#include "Routes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace ql::qbank::test {

std::string testBankText()
{
    std::string text = R"(# test bank
{"id":1,"type":"single","subject":"数学","question":"下列各数中，最小的质数是","options":["A. 0","B. 1","C. 2","D. 3"],"answer":"C","explanation":"2 是最小的质数。"}
{"id":2,"type":"fill","subject":"物理","question":"牛顿第二定律的表达式是____","answer":"F=ma","explanation":"力等于质量乘以加速度。"}
{"id":3,"type":"single","subject":"计算机","question":"Which keyword declares a constant in C++?","options":["A. var","B. const","C. let"],"answer":"B"}
{"id":4,"type":"truefalse","subject":"化学","question":"水的化学式是H2O，水由氢和氧组成","answer":"对","explanation":"H2O"}
{"id":5,"type":"fill","subject":"数学","question":"5+5=?","answer":"10"}
{"id":6,"type":"fill","subject":"语文","question":"He said \"NEAR\" (a*b) ^c: -d, 100% sure, file_x.","answer":"x"}
{"id":7,"type":"multiple","subject":"计算机","question":"<script>alert('x')</script> & \"转义\"","options":["A. <b>粗</b>","B. a&b"],"answer":"A&B","explanation":"<i>不</i>是标签"}
{"id":8,"type":"fill","subject":"计算机","question":"max(a, b) returns the larger value","answer":"b"}
)";
    for (int id = 10; id <= 22; ++id)
        text += R"({"id":)" + std::to_string(id)
                + R"(,"type":"fill","subject":"数学","question":"重复题 )" + std::to_string(id)
                + R"(","answer":"x"})" "\n";
    return text;
}

TempFile::TempFile(std::string_view contents)
{
    static std::atomic<int> counter{0};
    path_ = (std::filesystem::temp_directory_path()
             / ("qbank-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)
                + ".jsonl"))
                .string();
    std::ofstream(path_, std::ios::binary) << contents;
}

TempFile::~TempFile()
{
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

BankServer::BankServer()
{
    std::istringstream input(testBankText());
    const BankFileResult file = parseBank(input, "test bank");
    EXPECT_EQ(file.error, "");
    std::string error;
    bank_ = QuestionBank::create(file.questions, error);
    EXPECT_NE(bank_, nullptr) << error;
    if (!bank_)
        return;
    useExclusivePort(server_);
    installRoutes(server_, *bank_, testRowLimit);
    port_ = server_.bind_to_any_port("127.0.0.1");
    EXPECT_GT(port_, 0);
    if (port_ <= 0)
        return;
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() only reaches a server that is already running.
    for (int i = 0; i < 500 && !server_.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

BankServer::~BankServer()
{
    server_.stop();
    if (thread_.joinable())
        thread_.join();
}

std::unique_ptr<httplib::Client> BankServer::client() const
{
    auto client = std::make_unique<httplib::Client>("127.0.0.1", port_);
    client->set_url_encode(false);
    client->set_connection_timeout(5);
    client->set_read_timeout(10);
    return client;
}

}  // namespace ql::qbank::test
