#include "find/core/FindKey.h"

#include "calendar/core/DateText.h"

namespace {

// 2026-12-05 and a blank.
void appendIsoDate(QString& to, QDate date)
{
    if (!date.isValid())
        return;
    DateText::appendTo(to, date);
    to.append(u' ');
}

} // namespace

FindKey FindKey::of(QStringView text, const QList<QDate>& dates)
{
    FindKey key;
    key.text = fold(text);
    key.syllables = PinyinReader::shared().read(key.text);
    key.dates = dates;
    for (const QDate& date : dates)
        appendIsoDate(key.isoDates, date);
    return key;
}

QString FindKey::fold(QStringView text)
{
    return text.toString().normalized(QString::NormalizationForm_KC).toCaseFolded();
}
