#include "document/CommentInputCommand.h"

#include "app/ApplicationContext.h"
#include "document/BarCodeDoc.h"
#include "document/CommentDialog.h"
#include "document/CommentSettings.h"
#include "symbology/CodeValidator.h"

namespace kestrel {

bool RunCommentInput(ApplicationContext& context, QWidget* parent)
{
    CCommentDlg dialog(ReadCommentSettings(context.profile), parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    WriteCommentSettings(context.profile, dialog.Settings());
    // The comment lines change the picture, not the symbol; encoding again
    // only brings the sequence up to date with the document before the redraw.
    context.doc.Encode(ReadCodabarOptions(context.profile));
    return true;
}

}  // namespace kestrel
