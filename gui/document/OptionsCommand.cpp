#include "document/OptionsCommand.h"

#include "app/ApplicationContext.h"
#include "options/OnOptions.h"
#include "options/RunOptionsSheet.h"

namespace kestrel {

bool RunOptionsCommand(ApplicationContext& context, QWidget* parent)
{
    return OnOptions(context.doc, context.gaps, context.profile,
                     [&] { RunOptionsSheet(context, parent); });
}

}  // namespace kestrel
