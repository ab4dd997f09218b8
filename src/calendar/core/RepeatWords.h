#pragma once

#include "calendar/core/RepeatRule.h"
#include "platform/Result.h"

#include <optional>

// A repetition as typed after --repeat or in the quick-add window's date box: a kind's word
// (每天, 每周, 工作日, 法定工作日, 每月, 每年, 农历每年; 不重复 or off), which keeps the finish date's
// day, or one that says the day as well (每周五, 每月15号, 每月月底, 每年12月20日, 每年农历八月十五).
struct RepeatWords
{
    RepeatRule::Kind kind = RepeatRule::None;
    std::optional<RepeatRule> rule; // when the words say the day

    // Refused with the words it takes.
    static ResultOf<RepeatWords> parse(QStringView text);
    // The rule for an item finishing on finish.
    RepeatRule ruleFor(QDate finish) const { return rule ? *rule : RepeatRule::of(kind, finish); }
};
