#include "http/CurlTransfer.h"

#include <algorithm>
#include <cstring>

namespace ql::http {
namespace {

// The body is handed out as it comes; above this many unread bytes the
// transfer pauses until the reader catches up, so a large body is never
// held twice.
constexpr std::size_t kBodyBufferLimit = 1 << 20;
// curl reads at most one buffer per step of the transfer; a large one keeps
// the steps, and the reader's turns, few for a big body.
constexpr long kReceiveBufferSize = 256 * 1024;
// Longest single wait, so that an idle time-out is noticed in time even
// when curl has no timer of its own pending.
constexpr int kMaxPollMs = 1000;

void setCredentialOptions(CURL* easy, const Credentials& credentials, CURLoption user,
                          CURLoption password, CURLoption auth)
{
    if (!credentials.given())
        return;
    curl_easy_setopt(easy, user, credentials.userName.c_str());
    curl_easy_setopt(easy, password, credentials.password.c_str());
    curl_easy_setopt(easy, auth, static_cast<long>(CURLAUTH_BASIC));
}

void setMethodOptions(CURL* easy, const TransferSetup& setup)
{
    if (setup.verb == "HEAD") {
        // CUSTOMREQUEST would only rename the method and curl would then wait
        // for a body that never comes.
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        return;
    }
    if (setup.verb == "POST" || setup.sendBody) {
        const std::string_view body = setup.sendBody ? setup.body : std::string_view{};
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data() ? body.data() : "");
    }
    if (setup.verb != "POST" && setup.verb != "GET")
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, setup.verb.c_str());
    else if (setup.verb == "GET" && setup.sendBody)
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, "GET");
}

} // namespace

CurlTransfer::CurlTransfer(CURLM* multi, TransferSetup setup)
    : multi_(multi), setup_(std::move(setup)), easy_(curl_easy_init())
{
    CURL* easy = easy_.get();
    if (!easy) {
        fail(WinHttpError::OutOfMemory);
        return;
    }
    curl_easy_setopt(easy, CURLOPT_URL, setup_.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    // The object name is escaped already; curl must neither re-escape it nor
    // resolve its dot segments.
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    // HTTP/2 has no reason phrase, which the status text is made of.
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!setup_.caFile.empty())
        curl_easy_setopt(easy, CURLOPT_CAINFO, setup_.caFile.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, setup_.headers.get());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, setup_.connectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    // An empty proxy and an empty no-proxy list keep http_proxy and no_proxy
    // of the environment out of the way.
    curl_easy_setopt(easy, CURLOPT_PROXY, setup_.proxyUrl.c_str());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    setCredentialOptions(easy, setup_.proxyCredentials, CURLOPT_PROXYUSERNAME, CURLOPT_PROXYPASSWORD,
                         CURLOPT_PROXYAUTH);
    setCredentialOptions(easy, setup_.serverCredentials, CURLOPT_USERNAME, CURLOPT_PASSWORD,
                         CURLOPT_HTTPAUTH);
    setMethodOptions(easy, setup_);

    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    // The debug callback is the only place that tells when the request
    // itself has gone out; it prints nothing.
    curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &CurlTransfer::onDebug);
    curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &CurlTransfer::onConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, this);

    if (curl_multi_add_handle(multi_, easy) != CURLM_OK) {
        fail(WinHttpError::InternalError);
        return;
    }
    attached_ = true;
}

CurlTransfer::~CurlTransfer()
{
    // Detach before the easy handle goes; the header list is freed last,
    // with setup_, after the handle that points at it.
    if (attached_)
        curl_multi_remove_handle(multi_, easy_.get());
    easy_.reset();
}

bool CurlTransfer::driveUntilSent(int idleMs)
{
    return drive([this] {
        return responseStarted_ || (requestHeadSent_ && bodyBytesSent_ >= (setup_.sendBody ? setup_.body.size() : 0));
    }, idleMs);
}

bool CurlTransfer::driveUntilHeaders(int idleMs)
{
    return drive([this] { return headers_.complete(); }, idleMs);
}

bool CurlTransfer::driveUntilBody(int idleMs)
{
    if (paused_ && state_ == State::Running) {
        paused_ = false;
        // May hand over the bytes curl held back, through onBody.
        if (curl_easy_pause(easy_.get(), CURLPAUSE_CONT) != CURLE_OK)
            fail(WinHttpError::InternalError);
    }
    return drive([this] { return buffered() > 0; }, idleMs);
}

std::size_t CurlTransfer::read(char* buffer, std::size_t capacity)
{
    const std::size_t count = std::min(capacity, buffered());
    std::memcpy(buffer, body_.data() + bodyReadPos_, count);
    bodyReadPos_ += count;
    if (bodyReadPos_ == body_.size()) {
        body_.clear();
        bodyReadPos_ = 0;
    }
    return count;
}

template <typename Goal>
bool CurlTransfer::drive(Goal reached, int idleMs)
{
    const Clock::time_point operationStart = Clock::now();
    while (!reached()) {
        if (state_ != State::Running)
            return false;
        int running = 0;
        if (curl_multi_perform(multi_, &running) != CURLM_OK) {
            fail(WinHttpError::InternalError);
            return false;
        }
        collectResult();
        if (reached())
            return true;
        if (state_ != State::Running)
            return false;

        int waitMs = kMaxPollMs;
        // The connect time-out covers the way to the server; the idle clock
        // runs from the moment the connection stands.
        if (idleMs > 0 && connected_) {
            const auto idleSince = std::max(lastProgress_, operationStart);
            const auto idleFor =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - idleSince).count();
            if (idleFor >= idleMs) {
                fail(WinHttpError::Timeout);
                return false;
            }
            waitMs = static_cast<int>(std::min<long long>(waitMs, idleMs - idleFor));
        }
        if (curl_multi_poll(multi_, nullptr, 0, waitMs, nullptr) != CURLM_OK) {
            fail(WinHttpError::InternalError);
            return false;
        }
    }
    return true;
}

void CurlTransfer::collectResult()
{
    int pending = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &pending)) {
        if (message->msg != CURLMSG_DONE || message->easy_handle != easy_.get())
            continue;
        if (message->data.result == CURLE_OK)
            state_ = State::Done;
        else
            fail(winHttpErrorFor(message->data.result));
    }
}

void CurlTransfer::fail(WinHttpError error)
{
    state_ = State::Failed;
    error_ = error;
}

std::size_t CurlTransfer::onBody(char* data, std::size_t size, std::size_t count, void* self)
{
    auto& transfer = *static_cast<CurlTransfer*>(self);
    if (transfer.buffered() >= kBodyBufferLimit) {
        transfer.paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (transfer.bodyReadPos_ > 0) { // keep the unread bytes at the front
        transfer.body_.erase(0, transfer.bodyReadPos_);
        transfer.bodyReadPos_ = 0;
    }
    transfer.body_.append(data, size * count);
    transfer.markProgress();
    return size * count;
}

std::size_t CurlTransfer::onHeader(char* data, std::size_t size, std::size_t count, void* self)
{
    auto& transfer = *static_cast<CurlTransfer*>(self);
    transfer.responseStarted_ = transfer.connected_;
    transfer.headers_.addLine(std::string_view(data, size * count));
    transfer.markProgress();
    return size * count;
}

int CurlTransfer::onDebug(CURL*, curl_infotype type, char*, std::size_t size, void* self)
{
    auto& transfer = *static_cast<CurlTransfer*>(self);
    // Before the connection stands, what goes out is a proxy's CONNECT.
    if (!transfer.connected_)
        return 0;
    if (type == CURLINFO_HEADER_OUT) {
        transfer.requestHeadSent_ = true;
        transfer.markProgress();
    } else if (type == CURLINFO_DATA_OUT) {
        transfer.bodyBytesSent_ += size;
        transfer.markProgress();
    }
    return 0;
}

int CurlTransfer::onConnected(void* self, char*, char*, int, int)
{
    auto& transfer = *static_cast<CurlTransfer*>(self);
    transfer.connected_ = true;
    transfer.markProgress();
    return CURL_PREREQFUNC_OK;
}

} // namespace ql::http
