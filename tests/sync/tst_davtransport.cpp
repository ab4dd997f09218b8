#include "sync/QtDavTransport.h"

#include <QFile>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// A server on loopback that answers each request with the next of its answers (none: silence),
// and keeps what it was sent.
class ScriptedServer : public QTcpServer
{
public:
    explicit ScriptedServer(QList<QByteArray> answers) : m_answers(std::move(answers))
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    received += socket->readAll();
                    if (!received.contains("\r\n\r\n") || m_answers.isEmpty())
                        return;
                    const QByteArray answer = m_answers.takeFirst();
                    if (!answer.isEmpty())
                        socket->write(answer);
                });
            }
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/dav/tasks/").arg(serverPort())); }
    QByteArray received;

private:
    QList<QByteArray> m_answers;
};

const QByteArray unauthorized = "HTTP/1.1 401 Unauthorized\r\n"
                                "WWW-Authenticate: Digest realm=\"dav\", nonce=\"abc\", qop=\"auth\"\r\n"
                                "Content-Length: 0\r\n\r\n";

} // namespace

class TestDavTransport : public QObject
{
    Q_OBJECT
private slots:
    // A server that takes the request and never answers ends in a timeout, not a hang.
    void aSilentServerTimesOut()
    {
        ScriptedServer server({QByteArray()});
        QtDavTransport transport({}, {}, std::chrono::milliseconds(300));
        const ResultOf<DavReply> reply = transport.send({"REPORT", server.url(), {}, "<x/>"});
        QVERIFY(!reply);
        QCOMPARE(reply.error(), QString::fromUtf8("服务器没有应答"));
    }

    // Digest is answered with the password; a refused password ends with the server's 401 instead
    // of being sent again and again.
    void digestIsAnsweredOnce()
    {
        ScriptedServer server({unauthorized, unauthorized, unauthorized});
        QtDavTransport transport(QStringLiteral("alice"), QStringLiteral("secret"), std::chrono::seconds(5));
        const ResultOf<DavReply> reply = transport.send({"PROPFIND", server.url(), {}, {}});
        QVERIFY2(reply, qPrintable(reply.error()));
        QCOMPARE(reply->status, 401);
        QVERIFY(server.received.contains("Authorization: Digest username=\"alice\""));
        QCOMPARE(server.received.count("Authorization:"), 1);
        QVERIFY(!transport.passwordWanted());
    }

    // Basic goes in UTF-8 (RFC 7617's charset), which Qt's Latin-1 would turn into '?', and from
    // then on with each request.
    void basicIsSentInUtf8()
    {
        const QByteArray basic = "HTTP/1.1 401 Unauthorized\r\n"
                                 "WWW-Authenticate: Basic realm=\"dav\", charset=\"UTF-8\"\r\n"
                                 "Content-Length: 0\r\n\r\n";
        const QByteArray done = "HTTP/1.1 207 Multi-Status\r\nContent-Length: 0\r\n\r\n";
        ScriptedServer server({basic, done, done});
        const QString password = QString::fromUtf8("Pw-林-2026");
        QtDavTransport transport(QStringLiteral("lin"), password, std::chrono::seconds(5));
        const ResultOf<DavReply> first = transport.send({"PROPFIND", server.url(), {}, {}});
        QVERIFY2(first, qPrintable(first.error()));
        QCOMPARE(first->status, 207);
        const QByteArray login =
            "Authorization: Basic " + QString::fromUtf8("lin:Pw-林-2026").toUtf8().toBase64();
        QCOMPARE(server.received.count(login), 1);
        QVERIFY(transport.askedForBasic());
        QCOMPARE(transport.send({"REPORT", server.url(), {}, "<x/>"})->status, 207);
        QCOMPARE(server.received.count(login), 2);
        QCOMPARE(server.received.count("Authorization:"), 2);

        // A password refused since the last run ends with the server's 401, sent once.
        ScriptedServer refusing({basic, basic, basic});
        QtDavTransport wrong(QStringLiteral("lin"), QStringLiteral("wrong"), std::chrono::seconds(5));
        wrong.sendBasicAtOnce(true);
        QCOMPARE(wrong.send({"PROPFIND", refusing.url(), {}, {}})->status, 401);
        QCOMPARE(refusing.received.count("Authorization:"), 1);
    }

    // A certificate the system does not trust is refused, and said so.
    void anUntrustedCertificateIsRefused()
    {
        QFile certificate(QStringLiteral(KESTRIN_TLS_DIR "/selfsigned.crt"));
        QFile key(QStringLiteral(KESTRIN_TLS_DIR "/selfsigned.key"));
        QVERIFY(certificate.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly));
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate(certificate.readAll()));
        tls.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
        QSslServer server;
        server.setSslConfiguration(tls);
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QtDavTransport transport({}, {}, std::chrono::seconds(5));
        const ResultOf<DavReply> reply =
            transport.send({"REPORT",
                            QUrl(QStringLiteral("https://127.0.0.1:%1/dav/tasks/").arg(server.serverPort())),
                            {},
                            "<x/>"});
        QVERIFY(!reply);
        QVERIFY2(reply.error().startsWith(QString::fromUtf8("证书被拒绝：")), qPrintable(reply.error()));
    }

    void noPasswordAsksForOne()
    {
        ScriptedServer server({unauthorized, unauthorized});
        QtDavTransport transport({}, {}, std::chrono::seconds(5));
        QCOMPARE(transport.send({"PROPFIND", server.url(), {}, {}})->status, 401);
        QVERIFY(transport.passwordWanted());
    }
};

QTEST_GUILESS_MAIN(TestDavTransport)
#include "tst_davtransport.moc"
