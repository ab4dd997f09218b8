#pragma once

#include <QJsonObject>

#include <functional>

class QIODevice;

// The running copy's side of its socket. A request is one line of JSON, {"command": "…", …}, and
// its answer one line of JSON, {"ok": true} or {"ok": false, "message": "…"}. Whatever comes over
// the socket is untrusted: a request longer than maxRequest, one that is no JSON object, or one that
// does not end within timeoutMs is refused or dropped, and never reaches the handler.
namespace RequestChannel {

inline constexpr qsizetype maxRequest = 16 * 1024;

using Handler = std::function<QJsonObject(const QJsonObject& request)>;

// Serves the one request that client sends, answers it and closes client.
void serve(QIODevice* client, int timeoutMs, Handler handler);

QJsonObject refusal(const QString& message);
// The request as the client sends it, with its line end.
QByteArray encode(const QJsonObject& request);

} // namespace RequestChannel
