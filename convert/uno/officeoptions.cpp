#include "convert/uno/officeoptions.h"

#include <QStandardPaths>

namespace slate {

OfficeOptions OfficeOptions::fromEnvironment() {
    OfficeOptions options;
    options.officeExecutable = qEnvironmentVariable("SLATEMERE_OFFICE");
    options.connectUrl = qEnvironmentVariable("SLATEMERE_OFFICE_URL");
    return options;
}

QString OfficeOptions::effectiveProfileDir() const {
    if (!profileDir.isEmpty())
        return profileDir;
    // The generic cache folder, so the place does not depend on the application's names.
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/slatemere-converter/office-profiles");
}

}  // namespace slate
