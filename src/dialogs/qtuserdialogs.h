// The user dialogs on Qt widgets: message boxes with German buttons, the Qt file, colour, input
// and print dialogs, and the desktop's document opener.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/userdialogs.h"

namespace zeigora {

class TQtUserDialogs final : public TUserDialogs {
  public:
    ZEIGORA_USER_DIALOGS_OVERRIDES;
};

// Qt's name filters ("Bitmaps (*.bmp)") for a classic filter string; the patterns of each pair
// replace whatever pattern list its description shows, since Qt filters by the parenthesis.
QStringList QtNameFilters(const TFileFilterArray& filters);

}  // namespace zeigora
