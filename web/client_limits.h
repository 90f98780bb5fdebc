#pragma once
// The live board's limits on a club network: how many browsers and
// connections at once, how big a request may be, how much a slow browser may
// leave unread, and when a connection that says nothing or reads nothing is
// closed. The rules are plain functions of numbers and milliseconds, so the
// server only measures and obeys them.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kesto {

struct WebLimits {
    int maxBrowsers = 250;                  // live-board WebSockets at once
    int maxConnections = 400;               // TCP connections at once, WebSockets included
    size_t maxHeaderBytes = 8 * 1024;       // more is answered 431
    size_t maxRequestBytes = 64 * 1024;     // more and the connection is closed unread
    size_t maxUnsentBytes = 1024 * 1024;    // answers a connection has not taken yet
    size_t maxIncomingMessage = 1024;       // a browser has nothing to say beyond a ping
    size_t maxQueuedBoardBytes = 64 * 1024; // board updates a browser has not taken yet
    int64_t requestWithinMs = 10000;        // a request begun must be complete by then
    int64_t keepAliveMs = 30000;            // an idle kept-alive connection is closed
    int64_t behindWithinMs = 20000;         // a browser that stays behind is dropped
    int64_t pingEveryMs = 10000;
    int64_t pongWithinMs = 30000; // a browser that answers no ping is gone
};

// What a browser shows when the board already has every browser it takes.
std::string BoardFullText(int maxBrowsers);

// The close reason the browser gets with it (a WebSocket close reason holds
// at most 123 bytes).
inline constexpr const char* BoardFullReason = "full";

enum class Verdict { Keep, Close };

// An HTTP connection (pages, API, downloads) before any upgrade.
struct HttpConnection {
    int64_t lastAnsweredMs = 0;    // the last request answered, or the connection made
    int64_t requestStartedMs = -1; // the first byte after that; -1: none yet
    size_t bytesSinceAnswer = 0;   // received since the last request was answered
};

// Closed when a request runs over its size, a request begun is not complete
// in time (a client that sends its headers a byte at a time), or the
// connection stays idle past the keep-alive time.
Verdict JudgeHttpConnection(const HttpConnection& connection, int64_t nowMs,
                            const WebLimits& limits);

// A browser on the live updates.
struct BrowserConnection {
    int64_t lastPongMs = 0;     // the last pong, or the handshake
    int64_t behindSinceMs = -1; // since when updates wait for it; -1: it keeps up
};

// Closed when it answered no ping in time or stayed behind too long.
Verdict JudgeBrowser(const BrowserConnection& browser, int64_t nowMs, const WebLimits& limits);

// Whether a request's headers (and its target) are too large to be answered
// with anything but 431.
bool HeadersTooLarge(size_t headerBytes, const WebLimits& limits);

// Whether a board update may go to a browser with `queuedBytes` not yet
// taken; otherwise it gets the latest board once it has caught up.
bool MaySendBoard(size_t queuedBytes, const WebLimits& limits);

} // namespace kesto
