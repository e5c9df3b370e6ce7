#include "line/link_account.h"

namespace line {
} // namespace line
