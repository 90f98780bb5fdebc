#pragma once
// A real browser for the live board's tests: Debian's chromium, headless,
// with a fresh profile, driven over its DevTools protocol (a WebSocket, here
// QWebSocket): pages opened at a window size, scripts evaluated in them,
// screenshots taken. Tests skip with a message where chromium is missing.

#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QTemporaryDir>
#include <QWebSocket>

#include <map>
#include <string>

namespace kesto::e2e {

class HeadlessChromium final {
public:
    // The browser's program, or empty when it is not installed.
    static QString Program();

    HeadlessChromium() = default;
    ~HeadlessChromium();
    HeadlessChromium(const HeadlessChromium&) = delete;
    HeadlessChromium& operator=(const HeadlessChromium&) = delete;

    // Starts the browser and connects to it; false with the reason otherwise.
    bool Launch(std::string* why);

    // A new tab showing `url` at `width` x `height` CSS pixels (`mobile`: a
    // phone's viewport). Its handle, or empty with the reason.
    QString Open(const QString& url, int width, int height, bool mobile, std::string* why);
    // The tab shows `url` instead (in the same renderer: light on the
    // machine); false with the reason.
    bool Navigate(const QString& page, const QString& url, std::string* why);
    // The value of a script in the tab (promises awaited); undefined on failure.
    QJsonValue Evaluate(const QString& page, const QString& expression);
    // Until the script is true in the tab, at most `timeoutMs`.
    bool WaitFor(const QString& page, const QString& expression, int timeoutMs);
    // A PNG of what the tab shows.
    QByteArray Screenshot(const QString& page);

private:
    QJsonObject Call(const QString& method, const QJsonObject& params, const QString& session = {});

    QProcess m_process;
    QTemporaryDir m_profile;
    QWebSocket m_socket;
    int m_nextId = 1;
    std::map<int, QJsonObject> m_replies;
};

} // namespace kesto::e2e
