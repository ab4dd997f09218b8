#pragma once

// How often a thing comes back, for an alarm and an agenda item alike. An alarm rings on the days
// of its kind (None: once, at the next such time); an item's rule (RepeatRule) also keeps the day
// of the kinds that need one.
enum class Repeat
{
    None,
    Daily,
    Weekly,           // on one day of the week
    Weekdays,         // Monday to Friday
    Weekends,         // Saturday and Sunday
    OfficialWorkdays, // the official arrangement's working days, make-up days included
    Monthly,          // on one day of the month
    Yearly,           // on one day of the year
    LunarYearly,      // on one day of the lunar year
};
