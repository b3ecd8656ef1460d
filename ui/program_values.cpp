#include "ui/program_values.h"

namespace skyplate {

StartupValues Startup;

}  // namespace skyplate
