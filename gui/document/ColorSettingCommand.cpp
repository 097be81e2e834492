#include "document/ColorSettingCommand.h"

#include "app/ApplicationContext.h"
#include "document/ColourDialog.h"
#include "document/ColourSettings.h"

namespace kestrel {

bool RunColorSetting(ApplicationContext& context, QWidget* parent)
{
    CColorDlg dialog(ColourSettings::Read(context.profile), parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;  // every pick made in the dialog is dropped
    }
    dialog.Settings().Write(context.profile);
    return true;
}

}  // namespace kestrel
