#include "shellext/ShellViewUnit.h"

namespace shellext {

void TShellViewFactory::UpdateRegistry(bool) {}

} // namespace shellext
