#include "document/CommentInputCommand.h"

namespace kestrel {

bool RunCommentInput(ApplicationContext&, QWidget*)
{
    return false;
}

}  // namespace kestrel
