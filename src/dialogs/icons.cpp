#include "dialogs/icons.h"

#include <QFile>
#include <QString>

// Resources of a static library are only linked in when something refers to them.
static void InitToolBarIconResource() {
    Q_INIT_RESOURCE(zeigora_toolbar_icons);
}

namespace zeigora {

QIcon ZeigoraIcon(const char* name) {
    static const bool initialised = [] {
        InitToolBarIconResource();
        return true;
    }();
    (void)initialised;
    const QString path = QStringLiteral(":/zeigora/icons/%1.svg").arg(QLatin1String(name));
    if (!QFile::exists(path)) return QIcon();
    return QIcon(path);
}

}  // namespace zeigora
