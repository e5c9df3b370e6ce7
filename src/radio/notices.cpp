// A notice set or cleared, and the one that is shown.
#include "radio/notices.h"

#include <algorithm>

namespace radio {

bool Notices::set(Notice kind, NoticeText notice)
{
    NoticeText& slot = notices_.at(static_cast<std::size_t>(kind));
    if (notice.text.empty()) {
        notice.subject.clear();
    }
    if (slot == notice) {
        return false;
    }
    slot = std::move(notice);
    return true;
}

const NoticeText& Notices::shown() const
{
    const auto first = std::ranges::find_if(
        notices_, [](const NoticeText& notice) { return !notice.text.empty(); });
    // With none found every text is empty, the last one too.
    return first == notices_.end() ? notices_.back() : *first;
}

} // namespace radio
