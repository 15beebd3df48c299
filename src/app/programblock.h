#pragma once

namespace vidmo {
} // namespace vidmo
