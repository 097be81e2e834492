#include "options/RunOptionsSheet.h"

#include "app/ApplicationContext.h"
#include "options/OptionsPropertySheet.h"
#include "options/OptionsSheetModel.h"

namespace kestrel {

bool RunOptionsSheet(ApplicationContext& context, QWidget* parent)
{
    OptionsSheetModel model(context.profile, context.gaps);
    COpionPropertySheet sheet(model, parent);
    if (sheet.exec() != QDialog::Accepted) {
        return false;
    }
    model.Store(context.profile, context.gaps);
    return true;
}

}  // namespace kestrel
