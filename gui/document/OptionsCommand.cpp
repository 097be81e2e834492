#include "document/OptionsCommand.h"

namespace kestrel {

bool RunOptionsCommand(ApplicationContext&, QWidget*)
{
    return false;
}

}  // namespace kestrel
