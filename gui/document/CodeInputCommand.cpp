#include "document/CodeInputCommand.h"

#include "app/ApplicationContext.h"
#include "document/BarCodeDoc.h"
#include "document/CodeDlg.h"
#include "document/CodeEntry.h"
#include "options/RunOptionsSheet.h"
#include "symbology/CodeValidator.h"

namespace kestrel {

bool RunCodeInput(ApplicationContext& context, QWidget* parent)
{
    return RunCodeInput(context, parent, [](CCodeDlg& dialog) { return dialog.exec(); });
}

bool RunCodeInput(ApplicationContext& context, QWidget* parent, const CodeDlgRunner& run)
{
    CodeEntry entry;
    entry.FillFrom(context.doc);
    CCodeDlg dialog(entry, context.profile, parent);
    // The sheet's gaps wait in the working copies until this dialog's OK.
    dialog.SetOptionsRunner([&context, &dialog] { RunOptionsSheet(context, &dialog); });
    if (run(dialog) != QDialog::Accepted) {
        return false;
    }
    entry.ApplyTo(context.doc, context.gaps, ReadCodabarOptions(context.profile));
    return true;
}

}  // namespace kestrel
