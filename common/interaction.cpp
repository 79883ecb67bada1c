#include "common/interaction.h"

#include "common/apptitle.h"

namespace slate {

MsgAnswer Dialogs::message(const QString& text, MsgButtons buttons, MsgIcon icon) {
    return messageBox(text, appTitle(), buttons, icon);
}

}  // namespace slate
