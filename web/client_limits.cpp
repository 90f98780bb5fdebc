#include "web/client_limits.h"

namespace kesto {

std::string BoardFullText(int maxBrowsers) {
    return "The live board is full: " + std::to_string(maxBrowsers) +
           " browsers are watching already. It tries again by itself in a minute.";
}

Verdict JudgeHttpConnection(const HttpConnection& connection, int64_t nowMs,
                            const WebLimits& limits) {
    if (connection.bytesSinceAnswer > limits.maxRequestBytes)
        return Verdict::Close;
    if (connection.requestStartedMs >= 0)
        return nowMs - connection.requestStartedMs > limits.requestWithinMs ? Verdict::Close
                                                                            : Verdict::Keep;
    return nowMs - connection.lastAnsweredMs > limits.keepAliveMs ? Verdict::Close : Verdict::Keep;
}

Verdict JudgeBrowser(const BrowserConnection& browser, int64_t nowMs, const WebLimits& limits) {
    if (nowMs - browser.lastPongMs > limits.pongWithinMs)
        return Verdict::Close;
    if (browser.behindSinceMs >= 0 && nowMs - browser.behindSinceMs > limits.behindWithinMs)
        return Verdict::Close;
    return Verdict::Keep;
}

bool HeadersTooLarge(size_t headerBytes, const WebLimits& limits) {
    return headerBytes > limits.maxHeaderBytes;
}

bool MaySendBoard(size_t queuedBytes, const WebLimits& limits) {
    return queuedBytes <= limits.maxQueuedBoardBytes;
}

} // namespace kesto
