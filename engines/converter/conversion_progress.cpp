#include "engines/converter/conversion_progress.h"

namespace corvane {

ConversionProgress &conversion_progress()
{
    static ConversionProgress progress;
    return progress;
}

} // namespace corvane
