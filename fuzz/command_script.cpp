// One fuzz_commands input split into the window's fields and the actions that follow.
#include "command_script.h"

#include <algorithm>
#include <array>

CommandScript parseCommandScript(std::span<const std::uint8_t> data)
{
    CommandScript script;
    const std::array<QString*, 7> fields{&script.radioId,  &script.ourId,     &script.frequency,
                                         &script.unitRow,  &script.byteCount, &script.modeRow,
                                         &script.filterRow};
    auto rest = data;
    for (QString* field : fields) {
        const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{'\n'});
        const auto length = static_cast<std::size_t>(end - rest.begin());
        // UTF-8, so any character an operator could type is reachable, digits of other
        // scripts included; malformed sequences become U+FFFD as in a paste.
        *field = QString::fromUtf8(reinterpret_cast<const char*>(rest.data()),
                                   static_cast<qsizetype>(length));
        rest = rest.subspan(std::min(length + 1, rest.size()));
    }
    script.actions.assign(rest.begin(), rest.end());
    return script;
}
