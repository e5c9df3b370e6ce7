#include "radio/notices.h"

#include <algorithm>

namespace radio {

bool Notices::set(Notice kind, std::string text)
{
    std::string& slot = texts_.at(static_cast<std::size_t>(kind));
    if (slot == text) {
        return false;
    }
    slot = std::move(text);
    return true;
}

const std::string& Notices::shown() const
{
    const auto first = std::find_if(texts_.begin(), texts_.end(),
                                    [](const std::string& text) { return !text.empty(); });
    // With none found every text is empty, the last one too.
    return first == texts_.end() ? texts_.back() : *first;
}

} // namespace radio
