#include "document/ColorSettingCommand.h"

namespace kestrel {

bool RunColorSetting(ApplicationContext&, QWidget*)
{
    return false;
}

}  // namespace kestrel
