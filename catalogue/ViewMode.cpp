#include "catalogue/ViewMode.h"

std::atomic<std::int32_t> ViewMode{0};
