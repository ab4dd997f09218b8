#include "sync/SecretStore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace SecretStore {

namespace {

const QString service = QStringLiteral("Kestrin CalDAV");

void wait(QKeychain::Job& job)
{
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QString storeMissing(const QString& why)
{
    return QStringLiteral("没有可用的密钥存储（Secret Service），密码无法保存：") + why;
}

} // namespace

Result write(const QString& key, const QString& password)
{
    QKeychain::WritePasswordJob job(service);
    job.setInsecureFallback(false);
    job.setKey(key);
    job.setTextData(password);
    wait(job);
    if (job.error() != QKeychain::NoError)
        return Result::failed(storeMissing(job.errorString()));
    return Result::done();
}

ResultOf<std::optional<QString>> read(const QString& key)
{
    QKeychain::ReadPasswordJob job(service);
    job.setInsecureFallback(false);
    job.setKey(key);
    wait(job);
    if (job.error() == QKeychain::EntryNotFound)
        return std::optional<QString>();
    if (job.error() != QKeychain::NoError)
        return Result::failed(storeMissing(job.errorString()));
    return std::optional<QString>(job.textData());
}

void remove(const QString& key)
{
    QKeychain::DeletePasswordJob job(service);
    job.setKey(key);
    wait(job);
}

} // namespace SecretStore
