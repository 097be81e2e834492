#include "document/CodeInputCommand.h"

namespace kestrel {

bool RunCodeInput(ApplicationContext&, QWidget*)
{
    return false;
}

}  // namespace kestrel
