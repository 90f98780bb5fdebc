#include "headless_chromium.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTest>

namespace kesto::e2e {

namespace {
constexpr int ReplyWithinMs = 15000;
}

QString HeadlessChromium::Program() {
    for (const char* name : {"chromium", "chromium-browser"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

HeadlessChromium::~HeadlessChromium() {
    // Closed through DevTools, so no process of it still writes into the
    // profile while the profile's folder is removed.
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        Call(QStringLiteral("Browser.close"), {});
    m_socket.abort();
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool HeadlessChromium::Launch(std::string* why) {
    const QString program = Program();
    if (program.isEmpty() || !m_profile.isValid()) {
        *why = "chromium is not installed";
        return false;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(
        program,
        {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
         QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
         QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
         QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
         // Tabs in the background keep their full pace: the tests time them.
         QStringLiteral("--disable-background-timer-throttling"),
         QStringLiteral("--disable-renderer-backgrounding"),
         QStringLiteral("--disable-backgrounding-occluded-windows"),
         QStringLiteral("--hide-scrollbars"), QStringLiteral("--user-data-dir=") + m_profile.path(),
         QStringLiteral("--remote-debugging-port=0"), QStringLiteral("about:blank")});
    // The browser writes its DevTools port and path into the profile.
    const QString portFile = m_profile.filePath(QStringLiteral("DevToolsActivePort"));
    QStringList lines;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            QFile file(portFile);
            if (file.open(QIODevice::ReadOnly))
                lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
            return lines.size() >= 2 || m_process.state() == QProcess::NotRunning;
        },
        ReplyWithinMs));
    if (lines.size() < 2) {
        *why = "chromium did not open its DevTools port";
        return false;
    }
    QObject::connect(&m_socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
        const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
        if (message.contains(QStringLiteral("id")))
            m_replies[message.value(QStringLiteral("id")).toInt()] = message;
    });
    m_socket.setMaxAllowedIncomingMessageSize(64 * 1024 * 1024);
    m_socket.open(
        QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(lines[0].trimmed(), lines[1].trimmed())));
    if (!QTest::qWaitFor([&] { return m_socket.state() == QAbstractSocket::ConnectedState; },
                         ReplyWithinMs)) {
        *why = "could not connect to chromium's DevTools";
        return false;
    }
    return true;
}

QJsonObject HeadlessChromium::Call(const QString& method, const QJsonObject& params,
                                   const QString& session) {
    const int id = m_nextId++;
    QJsonObject message{{QStringLiteral("id"), id},
                        {QStringLiteral("method"), method},
                        {QStringLiteral("params"), params}};
    if (!session.isEmpty())
        message.insert(QStringLiteral("sessionId"), session);
    m_socket.sendTextMessage(
        QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    static_cast<void>(QTest::qWaitFor([&] { return m_replies.count(id) > 0; }, ReplyWithinMs));
    const auto found = m_replies.find(id);
    if (found == m_replies.end())
        return {};
    const QJsonObject reply = found->second;
    m_replies.erase(found);
    return reply.value(QStringLiteral("result")).toObject();
}

QString HeadlessChromium::Open(const QString& url, int width, int height, bool mobile,
                               std::string* why) {
    const QString target = Call(QStringLiteral("Target.createTarget"),
                                {{QStringLiteral("url"), QStringLiteral("about:blank")}})
                               .value(QStringLiteral("targetId"))
                               .toString();
    const QString session =
        Call(QStringLiteral("Target.attachToTarget"),
             {{QStringLiteral("targetId"), target}, {QStringLiteral("flatten"), true}})
            .value(QStringLiteral("sessionId"))
            .toString();
    if (session.isEmpty()) {
        *why = "chromium opened no tab";
        return {};
    }
    Call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
         {{QStringLiteral("width"), width},
          {QStringLiteral("height"), height},
          {QStringLiteral("deviceScaleFactor"), 1},
          {QStringLiteral("mobile"), mobile}},
         session);
    return Navigate(session, url, why) ? session : QString();
}

bool HeadlessChromium::Navigate(const QString& page, const QString& url, std::string* why) {
    Call(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url}}, page);
    const QString loaded =
        QStringLiteral("document.readyState === 'complete' && location.href === %1")
            .arg(QString::fromUtf8(QJsonDocument(QJsonArray{url}).toJson(QJsonDocument::Compact))
                     .chopped(1)
                     .mid(1));
    if (!WaitFor(page, loaded, ReplyWithinMs)) {
        *why = "the page did not load: " + url.toStdString();
        return false;
    }
    return true;
}

QJsonValue HeadlessChromium::Evaluate(const QString& page, const QString& expression) {
    const QJsonObject result = Call(QStringLiteral("Runtime.evaluate"),
                                    {{QStringLiteral("expression"), expression},
                                     {QStringLiteral("returnByValue"), true},
                                     {QStringLiteral("awaitPromise"), true}},
                                    page);
    return result.value(QStringLiteral("result")).toObject().value(QStringLiteral("value"));
}

bool HeadlessChromium::WaitFor(const QString& page, const QString& expression, int timeoutMs) {
    return QTest::qWaitFor([&] { return Evaluate(page, expression).toBool(); }, timeoutMs);
}

QByteArray HeadlessChromium::Screenshot(const QString& page) {
    // A tab in the background paints nothing.
    Call(QStringLiteral("Page.bringToFront"), {}, page);
    const QJsonObject shot = Call(QStringLiteral("Page.captureScreenshot"),
                                  {{QStringLiteral("format"), QStringLiteral("png")}}, page);
    return QByteArray::fromBase64(shot.value(QStringLiteral("data")).toString().toLatin1());
}

} // namespace kesto::e2e
