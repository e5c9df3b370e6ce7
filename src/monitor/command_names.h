// The Bus Monitor's names for commands and sub-commands, by code.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace monitor {

struct CodeName {
    std::uint8_t code;
    std::string_view name;
};

// The commands described in words, by code.
std::span<const CodeName> commandNames();
// When the first data byte of a command selects what it does (levels, meters, functions...),
// the names of those sub-commands; empty for other commands.
std::span<const CodeName> subCommandNames(std::uint8_t command);

std::optional<std::string_view> nameOf(std::span<const CodeName> names, std::uint8_t code);

} // namespace monitor
