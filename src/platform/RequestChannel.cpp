#include "platform/RequestChannel.h"

#include <QIODevice>
#include <QJsonDocument>
#include <QTimer>

namespace RequestChannel {

namespace {

QJsonObject parse(const QByteArray& line)
{
    // What a second start of an earlier version sends.
    if (line.trimmed() == "activate")
        return {{QStringLiteral("command"), QStringLiteral("activate")}};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    return document.object();
}

} // namespace

QJsonObject refusal(const QString& message)
{
    return {{QStringLiteral("ok"), false}, {QStringLiteral("message"), message}};
}

QByteArray encode(const QJsonObject& request)
{
    return QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n';
}

void serve(QIODevice* client, int timeoutMs, Handler handler)
{
    // A client that never finishes its line holds nothing for long.
    auto* timeout = new QTimer(client);
    timeout->setSingleShot(true);
    QObject::connect(timeout, &QTimer::timeout, client, [client] { client->close(); });
    timeout->start(timeoutMs);
    auto reply = [client, timeout](const QJsonObject& answer) {
        timeout->stop();
        client->write(encode(answer));
        client->close();
    };
    auto read = [client, timeout, reply, handler = std::move(handler)] {
        if (!timeout->isActive())
            return; // answered or dropped already
        const qsizetype end = client->peek(maxRequest + 1).indexOf('\n');
        if (end < 0) {
            if (client->bytesAvailable() > maxRequest)
                reply(refusal(QStringLiteral("请求过长，未执行。")));
            return;
        }
        const QJsonObject request = parse(client->read(end + 1).chopped(1));
        reply(request.isEmpty() ? refusal(QStringLiteral("请求格式不对，未执行。")) : handler(request));
    };
    QObject::connect(client, &QIODevice::readyRead, client, read);
    read(); // what arrived before the session began
}

} // namespace RequestChannel
