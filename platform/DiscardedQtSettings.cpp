#include "DiscardedQtSettings.h"

#include <QSettings>

void discardQtSettings()
{
    // Qt creates the settings folder before it writes; it cannot create one below a device,
    // and then writes nothing.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}
