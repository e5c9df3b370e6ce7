// The one place a CI-V frame is put together from its fields.
#pragma once

#include "civ/frame.h"

#include <cstdint>
#include <initializer_list>
#include <span>

namespace civ {

// FE FE to from command [body...] FD. The body is the sub-command, if any, and the data.
Frame buildFrame(std::uint8_t to, std::uint8_t from, std::uint8_t command,
                 std::span<const std::uint8_t> body = {});
Frame buildFrame(std::uint8_t to, std::uint8_t from, std::uint8_t command,
                 std::initializer_list<std::uint8_t> body);

} // namespace civ
