#include "options/RunOptionsSheet.h"

namespace kestrel {

bool RunOptionsSheet(ApplicationContext&, QWidget*)
{
    return false;
}

}  // namespace kestrel
