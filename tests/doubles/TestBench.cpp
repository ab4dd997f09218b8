#include "TestBench.h"

#include "platform/files/TextCodec.h"

QByteArray gbk(const char* utf8)
{
    return TextCodec::encode(QString::fromUtf8(utf8)).value();
}

QByteArray agendaRecord(const char* text, QDate set, QDate finish)
{
    return QByteArray("\"") + gbk(text) + "\",#" + set.toString(Qt::ISODate).toLatin1() + "#,#" +
           finish.toString(Qt::ISODate).toLatin1() + "#\r\n";
}
