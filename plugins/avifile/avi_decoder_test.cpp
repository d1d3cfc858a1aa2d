#include "plugins/common/decoder_test_support.h"

namespace {
}  // namespace
