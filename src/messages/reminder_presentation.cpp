#include "messages/reminder_presentation.h"

#include "language/translation.h"
#include "platform/text_chars.h"

namespace {

constexpr unsigned kMessageStepMs = 5;
// The long-activity warning rolls at half the speed of the messages.
constexpr unsigned kWarningStepMs = 10;

std::string_view Title(ReminderNotice notice)
{
    switch (notice) {
    case ReminderNotice::HealthTip:
        return Tr("Health tip");
    case ReminderNotice::GoToBed:
        return Tr("Time for bed");
    case ReminderNotice::LongActivity:
        return Tr("Long activity");
    case ReminderNotice::DailyLimit:
        return Tr("Daily limit");
    case ReminderNotice::Bedtime:
        return Tr("Bedtime");
    case ReminderNotice::TimeBreak:
        break;
    }
    return Tr("Time for a break");
}

} // namespace

ReminderNotice NoticeOf(ReminderKind kind)
{
    switch (kind) {
    case ReminderKind::TimeBreak:
        return ReminderNotice::TimeBreak;
    case ReminderKind::GoToBed:
        return ReminderNotice::GoToBed;
    case ReminderKind::LongActivity:
        return ReminderNotice::LongActivity;
    case ReminderKind::DailyLimit:
        return ReminderNotice::DailyLimit;
    case ReminderKind::Bedtime:
        return ReminderNotice::Bedtime;
    case ReminderKind::HealthTip:
        break;
    }
    return ReminderNotice::HealthTip;
}

ReminderPresentation PresentReminder(ReminderNotice notice, bool windowsNotifications, bool trayShowsBalloons)
{
    ReminderPresentation presentation;
    presentation.view = windowsNotifications && trayShowsBalloons ? ReminderView::Balloon : ReminderView::Popup;
    presentation.title = Title(notice);
    presentation.popupStepMs = notice == ReminderNotice::LongActivity ? kWarningStepMs : kMessageStepMs;
    return presentation;
}

std::string BalloonText(std::string_view text)
{
    std::string shown;
    std::size_t units = 0;
    bool blankBefore = false;
    for (const char c : text) {
        if (IsBlank(c)) {
            blankBefore = !shown.empty();
            continue;
        }
        if (!IsUtf8Continuation(c)) {
            const std::size_t needed = (blankBefore ? 1 : 0) + Utf16Units(c);
            if (units + needed > kLongestBalloonText)
                break;
            units += needed;
            if (blankBefore)
                shown += ' ';
            blankBefore = false;
        }
        shown += c;
    }
    return shown;
}
