#include "TestBench.h"

#include "TextCodec.h"

QByteArray gbk(const char* utf8)
{
    return TextCodec::encode(QString::fromUtf8(utf8));
}
